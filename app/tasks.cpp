#include "tasks.h"

#include "message_boxes.h"
#include "item_kind.h"
#include "lock_service.h"
#include "native_path.h"
#include "startup_translation.h"
#include "stub.h"

#include <QCoreApplication>

namespace hbx::app {

namespace {

QString translated(const char* text) { return QCoreApplication::translate("QObject", text); }

// The path as the user knows it: native on Linux.
QString shownPath(const std::u16string& engine) {
    const Converted native = to_native_path(engine);
    return native.ok ? QString::fromStdString(native.native) : QString::fromStdU16String(engine);
}

// Offers to delete a stub whose item the vault no longer holds; Yes deletes the stub file at
// the path as it was passed. A failed deletion is silent: the stub stays.
int askDeleteInvalidStub(const TaskChoice& choice) {
    const QString question =
        choice.kind == ITEM_FILE_STUB
            ? translated(QT_TRANSLATE_NOOP("QObject", "This is a invalid locked file, delete it or not?"))
            : translated(QT_TRANSLATE_NOOP("QObject", "This is a invalid locked folder, delete it or not?"));
    if (showQuestion(nullptr, question) == 1) delete_stub(stub_info_for_stub(choice.path));
    return 0;
}

}  // namespace

int runTask(const TaskChoice& choice) {
    if (choice.task == StartTask::ShowMainWindow) {
        showWarning(nullptr, translated(QT_TRANSLATE_NOOP(
                                 "QObject", "This build of Hushbox cannot show its main window yet.")));
        return 0;
    }
    loadStartupTranslation(*QCoreApplication::instance());
    switch (choice.task) {
        case StartTask::RelockPending:
            // No window: failures stay in the pending lists for the next start.
            LockService::instance().relock_pending();
            return 0;
        case StartTask::Uninstall:
            showWarning(nullptr, translated(QT_TRANSLATE_NOOP(
                                     "QObject",
                                     "This build of Hushbox cannot show the uninstall dialog yet.")));
            return 1;
        case StartTask::AskDeleteInvalidStub:
            return askDeleteInvalidStub(choice);
        case StartTask::ShowUnlockDialog:
            showWarning(nullptr,
                        translated(QT_TRANSLATE_NOOP("QObject",
                                             "This build of Hushbox cannot show the unlock dialog "
                                             "yet.\n%1"))
                            .arg(shownPath(choice.path)));
            return 0;
        case StartTask::ShowLockDialog:
            showWarning(nullptr,
                        translated(QT_TRANSLATE_NOOP("QObject",
                                             "This build of Hushbox cannot show the lock dialog "
                                             "yet.\n%1"))
                            .arg(shownPath(choice.path)));
            return 0;
        case StartTask::RefusePath:
            showWarning(nullptr, translated(QT_TRANSLATE_NOOP("QObject", "Hushbox cannot use this path:\n%1"))
                                     .arg(QString::fromStdString(choice.message)));
            return 0;
        case StartTask::ShowMainWindow:
            break;
    }
    return 0;
}

}  // namespace hbx::app
