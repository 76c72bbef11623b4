#include "startup_translation.h"

#include "base_services.h"
#include "identity.h"

#include <QCoreApplication>
#include <QSettings>
#include <QTranslator>

namespace hbx::app {

QString storedLanguage() {
    const QSettings settings(QSettings::UserScope, organizationName,
                             QStringLiteral("%1 %2").arg(applicationName, applicationVersion));
    return settings.value(QStringLiteral("lang")).toString();
}

QString cataloguePath(const QString& code) {
    const base::BaseTable& base = base_services();
    char16_t path[base::buffer_units] = {};
    base.module_folder(nullptr, path);
    base.join(path, u"lang", path);
    base.join(path, code.toStdU16String().c_str(), path);
    return QString::fromUtf16(path);
}

bool loadStartupTranslation(QCoreApplication& application) {
    const QString code = storedLanguage();
    if (code.isEmpty() || code == QLatin1String("en")) return false;
    auto* translator = new QTranslator(&application);
    if (!translator->load(cataloguePath(code))) {
        delete translator;
        return false;
    }
    application.installTranslator(translator);
    return true;
}

}  // namespace hbx::app
