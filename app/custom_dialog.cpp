#include "custom_dialog.h"

#include "ui_custom_dialog.h"

#include "frame_position.h"
#include "main_window_pointer.h"

#include <QGuiApplication>
#include <QMetaMethod>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QWindow>

#include <map>

#ifdef Q_OS_WIN
#include "win/window_refresh.h"
#include <windows.h>
#endif

namespace {

using namespace hbx::app;

PixelRect pixels(const QRect& r) { return {r.x(), r.y(), r.width(), r.height()}; }

// The content's members the frame binds, with the frame's member each one goes to.
struct Binding {
    const char* member;
    QMetaMethod::MethodType type;
    const char* frameMember;   // null: the close button's clicked() goes to the member
};

const Binding bindings[] = {
    {"okButtonClicked()", QMetaMethod::Signal, "clickOkButton()"},
    {"cancelButtonClicked()", QMetaMethod::Signal, "clickCancelButton()"},
    {"windowTitleChanged(QString)", QMetaMethod::Signal, "changeWindowTitle(QString)"},
    {"clickCloseButton()", QMetaMethod::Slot, nullptr},
};

}  // namespace

CustomDialog::CustomDialog(QWidget* parent, QWidget* content, const QString& title)
    : QDialog(parent), ui_(std::make_unique<Ui::CustomDialog>()) {
    ui_->setupUi(this);
    setWindowIcon(QIcon(QStringLiteral(":/MainWindow/Resources/app_icon_64.png")));
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    setAttribute(Qt::WA_TranslucentBackground);
    content->setParent(this);
    ui_->clientLayout->addWidget(content);
    ui_->title->setText(title);
    bindContent(content);
}

CustomDialog::~CustomDialog() = default;

void CustomDialog::bindContent(QWidget* content) {
    // Walk every method from index 0 (inherited ones first) and keep, per name, the most
    // derived one that is not private, so that a member declared again in a subclass is still
    // connected only once.
    const QMetaObject* meta = content->metaObject();
    std::map<const Binding*, int> found;
    for (int i = 0; i < meta->methodCount(); ++i) {
        const QMetaMethod method = meta->method(i);
        if (method.access() == QMetaMethod::Private) continue;
        for (const Binding& binding : bindings) {
            if (method.methodType() == binding.type && method.methodSignature() == binding.member) {
                found[&binding] = i;
            }
        }
    }
    const QMetaObject* frameMeta = metaObject();
    bool closeHandled = false;
    for (const auto& [binding, index] : found) {
        if (binding->frameMember != nullptr) {
            const QMetaMethod slot = frameMeta->method(frameMeta->indexOfSlot(binding->frameMember));
            connect(content, meta->method(index), this, slot);
        } else {
            const QMetaMethod clicked =
                ui_->closeButton->metaObject()->method(
                    ui_->closeButton->metaObject()->indexOfSignal("clicked()"));
            connect(ui_->closeButton, clicked, content, meta->method(index));
            closeHandled = true;
        }
    }
    if (!closeHandled) {
        connect(ui_->closeButton, &QPushButton::clicked, this, &CustomDialog::clickCancelButton);
    }
}

void CustomDialog::hideTitleBar() {
    titleBarHidden_ = true;
    ui_->titlebar->hide();
    ui_->lineLabel->hide();
}

void CustomDialog::setVisible(bool visible) {
    QDialog::setVisible(visible);
    if (!visible) return;
    QRect reference;
    if (QWidget* main = mainWindow()) {
        reference = main->geometry();
    } else if (QScreen* screen = QGuiApplication::primaryScreen()) {
        reference = screen->availableGeometry();
    }
    const PixelPoint at = centred_position(pixels(reference), width(), height());
    move(at.x, at.y);
}

hbx::app::FrameLayout CustomDialog::frameLayout() const {
    FrameLayout f;
    f.title_bar_hidden = titleBarHidden_;
    f.margin = ui_->verticalLayout->contentsMargins().left();
    f.height = height();
    f.title_width = ui_->titlebar->width();
    f.title_height = ui_->titlebar->height();
    f.close_button = pixels(ui_->closeButton->geometry());
    return f;
}

void CustomDialog::clickOkButton() { done(1); }

void CustomDialog::clickCancelButton() { done(0); }

void CustomDialog::changeWindowTitle(const QString& title) { ui_->title->setText(title); }

void CustomDialog::mousePressEvent(QMouseEvent* event) {
    if (titleBarHidden_) {
        done(0);   // a click anywhere on a help popup closes it
        return;
    }
#ifndef Q_OS_WIN
    // Windows drags the frame itself through the hit test's caption answer; elsewhere a press
    // on the title bar starts the system's move.
    const QPoint p = event->position().toPoint();
    if (event->button() == Qt::LeftButton &&
        frame_hit_test(frameLayout(), p.x(), p.y()) == FrameHit::Caption && windowHandle()) {
        windowHandle()->startSystemMove();
        return;
    }
#endif
    QDialog::mousePressEvent(event);
}

void CustomDialog::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const int w = width();
    const int h = height();
    if (titleBarHidden_) {
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(QColor(0xE1, 0xE1, 0xE1), 2, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin));
        painter.setBrush(Qt::white);
        painter.drawRect(QRectF(QPointF(0, 0), QPointF(w - 1, h - 1)));
        return;
    }
    // A soft shadow: the white surface inside five outlines that fade outwards.
    painter.fillRect(QRect(5, 5, w - 10, h - 10), Qt::white);
    painter.setBrush(Qt::NoBrush);
    for (int k = 0; k <= 4; ++k) {
        painter.setPen(QColor(0, 0, 0, 110 - 20 * k));
        painter.drawRect(5 - k, 5 - k, w - 10 + 2 * k, h - 10 + 2 * k);
    }
}

#ifdef Q_OS_WIN
bool CustomDialog::nativeEvent(const QByteArray& eventType, void* message, qintptr* result) {
    MSG* msg = static_cast<MSG*>(message);
    if (eventType == "windows_generic_MSG" && msg->message == WM_NCHITTEST) {
        std::intptr_t answer = 0;
        if (hbx::app::win::answer_frame_hit_test(msg->hwnd, msg->lParam, frameLayout(), &answer)) {
            *result = answer;
            return true;
        }
    }
    return QDialog::nativeEvent(eventType, message, result);
}
#endif

