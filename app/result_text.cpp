#include "result_text.h"

#include <QCoreApplication>

#include <array>
#include <utility>

namespace hbx::app {

namespace {

// The engine's nine result messages, in code order, as the translation catalogues know them
// (context "QObject").
const char* const resultMessages[] = {
    QT_TRANSLATE_NOOP("QObject", "Successful."),
    QT_TRANSLATE_NOOP("QObject", "Unknown error."),
    QT_TRANSLATE_NOOP("QObject", "Failed to create directory."),
    QT_TRANSLATE_NOOP("QObject", "Failed to create stub file."),
    QT_TRANSLATE_NOOP("QObject", "The lock target does not exist."),
    QT_TRANSLATE_NOOP("QObject", "The lock target name conflict, you can rename it first."),
    QT_TRANSLATE_NOOP("QObject", "The lock target is on use."),
    QT_TRANSLATE_NOOP("QObject", "No permission to lock target."),
    QT_TRANSLATE_NOOP("QObject", "The unlock target does not exist."),
};

using MessageTable = std::array<std::pair<std::int32_t, QString>, std::size(resultMessages)>;

MessageTable translatedMessages() {
    MessageTable table;
    for (std::size_t code = 0; code < table.size(); ++code) {
        table[code] = {static_cast<std::int32_t>(code),
                       QCoreApplication::translate("QObject", resultMessages[code])};
    }
    return table;
}

}  // namespace

QString resultText(const LockError& error) {
    static const MessageTable table = translatedMessages();   // built at the first call
    QString message;
    for (const auto& [code, text] : table) {
        if (code == error.code) {
            message = text;
            break;
        }
    }
    return QStringLiteral("%1 (%2)").arg(message, QString::number(error.system_error));
}

}  // namespace hbx::app
