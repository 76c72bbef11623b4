#include "identity.h"

#include <QCoreApplication>

namespace hbx::app {

void applyIdentity(QCoreApplication& application) {
    application.setOrganizationName(organizationName);
    application.setApplicationName(applicationName);
    application.setApplicationVersion(applicationVersion);
}

}  // namespace hbx::app
