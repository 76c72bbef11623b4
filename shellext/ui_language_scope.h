// UiLanguageScope: switches the calling thread's user-interface language for as long as the
// scope lives, so that what the menu loads comes in the program's language rather than
// Explorer's.
#pragma once

#include <windows.h>

namespace hbx::shellext {

class UiLanguageScope {
public:
    /// Sets the thread's UI language to `language` and remembers the one it had. On a system
    /// without thread UI languages (Windows XP) the thread locale is set instead, with the
    /// default sort order, and is not restored. Failures of the set calls are ignored.
    explicit UiLanguageScope(LANGID language);

    /// Puts the remembered UI language back (unless it was 0).
    ~UiLanguageScope();

    UiLanguageScope(const UiLanguageScope&) = delete;
    UiLanguageScope& operator=(const UiLanguageScope&) = delete;

    /// The language the scope put in force.
    LANGID language() const { return language_; }

private:
    using SetThreadUILanguageFn = LANGID(WINAPI*)(LANGID);

    LANGID language_;
    LANGID previous_ = 0;
    SetThreadUILanguageFn set_ = nullptr;
};

}  // namespace hbx::shellext
