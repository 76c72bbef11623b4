// MessagePromptWidget: the content of the program's message boxes, an icon beside a text
// with up to two centred buttons. The left button always means acceptance
// (okButtonClicked()), the right one refusal (cancelButtonClicked()).
#pragma once

#include <QDialogButtonBox>
#include <QWidget>

#include <memory>

namespace Ui {
class MessagePromptWidget;
}

// In the global namespace, so that tr() translates in the context "MessagePromptWidget".
class MessagePromptWidget : public QWidget {
    Q_OBJECT

public:
    /// A prompt with the button bar and both buttons hidden until setButtons().
    explicit MessagePromptWidget(QWidget* parent = nullptr);
    ~MessagePromptWidget() override;

    void setText(const QString& text);

    /// Shows the 32 by 32 pixmap of `icon` (normal mode, off state).
    void setIcon(const QIcon& icon);

    /// Shows the button bar and the buttons of `buttons`: Ok and Yes on the left button,
    /// Cancel and No on the right one.
    void setButtons(QDialogButtonBox::StandardButtons buttons);

signals:
    void okButtonClicked();
    void cancelButtonClicked();

private:
    std::unique_ptr<Ui::MessagePromptWidget> ui_;
};

