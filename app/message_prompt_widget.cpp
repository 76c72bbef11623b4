#include "message_prompt_widget.h"

#include "ui_message_prompt_widget.h"

MessagePromptWidget::MessagePromptWidget(QWidget* parent)
    : QWidget(parent), ui_(std::make_unique<Ui::MessagePromptWidget>()) {
    ui_->setupUi(this);
    ui_->buttonBar->hide();
    ui_->okButton->hide();
    ui_->cancelButton->hide();
    connect(ui_->okButton, &QPushButton::clicked, this, &MessagePromptWidget::okButtonClicked);
    connect(ui_->cancelButton, &QPushButton::clicked, this,
            &MessagePromptWidget::cancelButtonClicked);
}

MessagePromptWidget::~MessagePromptWidget() = default;

void MessagePromptWidget::setText(const QString& text) { ui_->label->setText(text); }

void MessagePromptWidget::setIcon(const QIcon& icon) {
    ui_->iconLabel->setPixmap(icon.pixmap(QSize(32, 32), QIcon::Normal, QIcon::Off));
}

void MessagePromptWidget::setButtons(QDialogButtonBox::StandardButtons buttons) {
    ui_->buttonBar->show();
    if (buttons & QDialogButtonBox::Ok) {
        ui_->okButton->setText(tr("OK"));
        ui_->okButton->show();
    }
    if (buttons & QDialogButtonBox::Cancel) {
        ui_->cancelButton->setText(tr("Cancel"));
        ui_->cancelButton->show();
    }
    if (buttons & QDialogButtonBox::Yes) {
        ui_->okButton->setText(tr("Yes"));
        ui_->okButton->show();
    }
    if (buttons & QDialogButtonBox::No) {
        ui_->cancelButton->setText(tr("No"));
        ui_->cancelButton->show();
    }
}

