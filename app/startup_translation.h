// The interface language of the one-shot tasks (a path, "-p", "-u"): the stored choice is
// loaded before anything is shown and stays for the life of the process. English is the
// absence of a catalogue.
#pragma once

#include <QString>

class QCoreApplication;

namespace hbx::app {

/// The stored interface language ("lang" in the user's settings of "Zenvor" / "Hushbox 1.1"),
/// or empty when it is missing or unreadable.
QString storedLanguage();

/// The catalogue of `code` without its extension: the folder "lang" beside the program's
/// executable, joined with the code (each join through the Base table).
QString cataloguePath(const QString& code);

/// Loads the catalogue of the stored language and installs it in `application`. False, with
/// the program left in English, when the stored language is empty or "en" or its catalogue
/// is missing or unreadable; nothing is reported either way.
bool loadStartupTranslation(QCoreApplication& application);

}  // namespace hbx::app
