// The program's message boxes: a MessagePromptWidget in a CustomDialog, centred like every
// frame. Each returns 1 when the user accepted (OK, Yes) and 0 otherwise (No, the close
// button, Escape).
#pragma once

#include <QString>

class QWidget;

namespace hbx::app {

/// "Information", the information icon and OK.
int showInformation(QWidget* parent, const QString& text);

/// "Question", the question icon, Yes and No.
int showQuestion(QWidget* parent, const QString& text);

/// "Warning", the warning icon and OK.
int showWarning(QWidget* parent, const QString& text);

}  // namespace hbx::app
