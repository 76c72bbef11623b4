// Shows one scene of the program's look for a screenshot, over a plain backdrop:
//
//   hushbox_gallery information|question|warning|dialog
//
// Once the scene is on screen it prints the rectangle that holds it ("x y width height") and
// stays until it is killed. The message boxes are the program's own; "dialog" is a frame with a
// password prompt as its content and a help popup beside it.
#include "base_services.h"
#include "custom_dialog.h"
#include "identity.h"
#include "message_boxes.h"
#include "style_sheet.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

#include <cstdio>
#include <functional>

namespace {

void report(const QRect& r) {
    std::printf("%d %d %d %d\n", r.x(), r.y(), r.width(), r.height());
    std::fflush(stdout);
}

// Reports the frame that is shown modally once the event loop runs.
void reportModalFrame() {
    QTimer::singleShot(100, [] {
        if (QWidget* frame = QApplication::activeModalWidget()) report(frame->frameGeometry());
    });
}

// The content of the sample dialog: a password prompt with a help link and two buttons.
QWidget* passwordPrompt() {
    auto* content = new QWidget;
    auto* layout = new QVBoxLayout(content);
    layout->setContentsMargins(20, 16, 20, 14);
    layout->setSpacing(12);
    layout->addWidget(new QLabel(QStringLiteral("Type the password to lock \"Reports 2024\":")));
    auto* password = new QLineEdit;
    password->setEchoMode(QLineEdit::Password);
    password->setText(QStringLiteral("secret"));
    password->setMinimumWidth(330);
    layout->addWidget(password);
    auto* row = new QHBoxLayout;
    row->setSpacing(10);
    auto* help = new QPushButton(QStringLiteral("Help"));
    help->setObjectName(QStringLiteral("helpButton"));
    help->setProperty("qss", "lnk_blue");
    help->setCursor(Qt::PointingHandCursor);
    row->addWidget(help);
    row->addStretch();
    for (const char* text : {"Lock", "Cancel"}) {
        auto* button = new QPushButton(QString::fromLatin1(text));
        button->setProperty("qss", "dlg");
        row->addWidget(button);
    }
    layout->addLayout(row);
    return content;
}

QWidget* helpText() {
    auto* label = new QLabel(QStringLiteral(
        "Locking moves the item out of sight and leaves a\n"
        "small stub in its place. Open the stub and type\n"
        "the password to get the item back."));
    label->setContentsMargins(14, 12, 14, 12);
    return label;
}

}  // namespace

int main(int argc, char** argv) {
    hbx::app::bootstrap_base();
    QApplication application(argc, argv);
    hbx::app::applyIdentity(application);
    application.setStyleSheet(hbx::app::applicationStyleSheet());
    const QString scene = argc > 1 ? QString::fromLatin1(argv[1]) : QString();

    // A calm desktop behind the scene, so that the shadow shows as it would on a desktop.
    QWidget backdrop;
    backdrop.setWindowFlags(Qt::FramelessWindowHint);
    backdrop.setStyleSheet(QStringLiteral("background-color: #DCE4EC;"));
    backdrop.setGeometry(QGuiApplication::primaryScreen()->geometry());
    backdrop.show();

    const QString text = QStringLiteral("The item \"Reports 2024\" is locked.");
    if (scene == QLatin1String("information")) {
        reportModalFrame();
        hbx::app::showInformation(nullptr, text);
    } else if (scene == QLatin1String("question")) {
        reportModalFrame();
        hbx::app::showQuestion(nullptr, QStringLiteral("This is a invalid locked file, delete it or not?"));
    } else if (scene == QLatin1String("warning")) {
        reportModalFrame();
        hbx::app::showWarning(nullptr, QStringLiteral("The lock target is on use. (32)"));
    } else if (scene == QLatin1String("dialog")) {
        CustomDialog dialog(nullptr, passwordPrompt(), hbx::app::productTitle);
        dialog.show();
        CustomDialog popup(&dialog, helpText(), QString());
        popup.hideTitleBar();
        popup.show();
        // The popup opens under the dialog's help link.
        QWidget* help = dialog.findChild<QPushButton*>(QStringLiteral("helpButton"));
        popup.move(dialog.pos() + help->mapTo(&dialog, QPoint(-8, help->height() + 2)));
        QTimer::singleShot(100, [&] { report(dialog.frameGeometry().united(popup.frameGeometry())); });
        return application.exec();
    } else {
        std::fprintf(stderr, "usage: hushbox_gallery information|question|warning|dialog\n");
        return 2;
    }
    return 0;
}
