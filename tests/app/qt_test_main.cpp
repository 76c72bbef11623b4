// The main of the Qt tests: an offscreen application set up as the program's start-up sets it
// up (Base table, identity, style sheet), then GoogleTest.
#include "base_services.h"
#include "identity.h"
#include "style_sheet.h"

#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    hbx::app::bootstrap_base();
    QApplication application(argc, argv);
    hbx::app::applyIdentity(application);
    application.setStyleSheet(hbx::app::applicationStyleSheet());
    return RUN_ALL_TESTS();
}
