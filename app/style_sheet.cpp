#include "style_sheet.h"

#include <QFile>

namespace hbx::app {

QString applicationStyleSheet() {
    QFile file(QStringLiteral(":/style/hushbox.qss"));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) return {};
    return QString::fromUtf8(file.readAll());
}

}  // namespace hbx::app
