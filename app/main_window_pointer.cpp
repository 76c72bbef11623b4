#include "main_window_pointer.h"

namespace hbx::app {

namespace {
QWidget* theMainWindow = nullptr;
}

QWidget* mainWindow() { return theMainWindow; }

void setMainWindow(QWidget* window) { theMainWindow = window; }

}  // namespace hbx::app
