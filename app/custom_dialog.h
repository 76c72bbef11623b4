// CustomDialog: the frameless frame in which every dialog's content is shown. It draws the
// title bar, the close button and the shadow, lets the user drag it by its title bar, and
// turns the content's signals into its result: exec() returns 1 after the content emitted
// okButtonClicked() and 0 after cancelButtonClicked(), the close button or Escape.
//
// The content is bound by name: its signals "okButtonClicked()", "cancelButtonClicked()" and
// "windowTitleChanged(QString)" reach clickOkButton(), clickCancelButton() and
// changeWindowTitle(QString); a slot "clickCloseButton()" receives the close button itself
// (the frame then stays open unless the content says otherwise). Private members do not count.
#pragma once

#include "frame_hit_test.h"

#include <QDialog>

#include <memory>

namespace Ui {
class CustomDialog;
}

// In the global namespace, so that tr() translates in the context "CustomDialog".
class CustomDialog : public QDialog {
    Q_OBJECT

public:
    /// A frame with `title` that takes over `content` (it becomes the frame's child).
    CustomDialog(QWidget* parent, QWidget* content, const QString& title);
    ~CustomDialog() override;

    /// Hides the title bar and its separator line: the frame becomes a help popup with a grey
    /// border that closes (result 0) on any click inside it and cannot be dragged.
    void hideTitleBar();

    /// Shows the frame centred over the main window, or over the screen when the process has
    /// no main window.
    void setVisible(bool visible) override;

    /// The frame as its hit test sees it.
    hbx::app::FrameLayout frameLayout() const;

public slots:
    void clickOkButton();
    void clickCancelButton();
    void changeWindowTitle(const QString& title);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
#ifdef Q_OS_WIN
    bool nativeEvent(const QByteArray& eventType, void* message, qintptr* result) override;
#endif

private:
    void bindContent(QWidget* content);

    std::unique_ptr<Ui::CustomDialog> ui_;
    bool titleBarHidden_ = false;
};

