#include "message_boxes.h"

#include "custom_dialog.h"
#include "message_prompt_widget.h"

#include <QApplication>
#include <QStyle>

namespace hbx::app {

namespace {

int showBox(QWidget* parent, const QString& text, const QString& title, QStyle::StandardPixmap icon,
            QDialogButtonBox::StandardButtons buttons) {
    auto* prompt = new MessagePromptWidget;   // the frame takes it over
    prompt->setText(text);
    prompt->setIcon(QApplication::style()->standardIcon(icon));
    prompt->setButtons(buttons);
    CustomDialog frame(parent, prompt, title);
    return frame.exec();
}

}  // namespace

int showInformation(QWidget* parent, const QString& text) {
    return showBox(parent, text, QCoreApplication::translate("QObject", "Information"),
                   QStyle::SP_MessageBoxInformation, QDialogButtonBox::Ok);
}

int showQuestion(QWidget* parent, const QString& text) {
    return showBox(parent, text, QCoreApplication::translate("QObject", "Question"),
                   QStyle::SP_MessageBoxQuestion, QDialogButtonBox::Yes | QDialogButtonBox::No);
}

int showWarning(QWidget* parent, const QString& text) {
    return showBox(parent, text, QCoreApplication::translate("QObject", "Warning"),
                   QStyle::SP_MessageBoxWarning, QDialogButtonBox::Ok);
}

}  // namespace hbx::app
