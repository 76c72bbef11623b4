// The process's main window, when it has one: frames and message boxes centre themselves over
// it. Null until the main window sets it in its constructor.
#pragma once

class QWidget;

namespace hbx::app {

QWidget* mainWindow();
void setMainWindow(QWidget* window);

}  // namespace hbx::app
