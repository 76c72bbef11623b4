// Hushbox: started without arguments it shows the main window; with "-p" it locks again the
// items that were opened for the moment; with "-u" it confirms an uninstallation; with a path
// it locks or unlocks the item there, or offers to delete a stub whose item is gone.
#include "base_services.h"
#include "identity.h"
#include "start_task.h"
#include "style_sheet.h"
#include "tasks.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    // The Base table comes first: every later part of the program may use it.
    hbx::app::bootstrap_base();
    QApplication application(argc, argv);
    hbx::app::applyIdentity(application);
    // Before any window is built, so that every window has the program's look.
    application.setStyleSheet(hbx::app::applicationStyleSheet());

    // Only the first argument counts, as a whole; it is a command or a (native) path.
    std::optional<std::u16string> first;
    hbx::app::PathFacts facts;
    const QStringList arguments = application.arguments();
    if (argc > 1 && arguments.size() > 1) {
        const QString& argument = arguments.at(1);
        first = argument.toStdU16String();
        if (hbx::app::is_path_argument(*first)) facts = hbx::app::ask_engine(argument.toStdString());
    }
    return hbx::app::runTask(hbx::app::choose_task(first, facts));
}
