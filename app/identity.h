// Who the program is: the application identity (which also names the settings that hold the
// interface language) and the product title of its frames.
#pragma once

#include <QString>

class QCoreApplication;

namespace hbx::app {

inline const QString organizationName = QStringLiteral("Zenvor");
inline const QString applicationName = QStringLiteral("Hushbox");
inline const QString applicationVersion = QStringLiteral("1.1");

/// The title of every frame that the program's tasks and the main window open; never
/// translated.
inline const QString productTitle = QStringLiteral("Zenvor Hushbox");

/// Sets the organisation name, the application name and the application version.
void applyIdentity(QCoreApplication& application);

}  // namespace hbx::app
