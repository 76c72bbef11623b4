// The program's look: the style sheet, the dialog frame (binding, results, centring, painting,
// hit-test layout) and the three message boxes.
#include "custom_dialog.h"
#include "main_window_pointer.h"
#include "message_boxes.h"
#include "message_prompt_widget.h"
#include "modal.h"
#include "style_sheet.h"

#include <QApplication>
#include <QLineEdit>
#include <QScreen>
#include <QTest>

#include <gtest/gtest.h>

using namespace hbx::app;
using namespace hbx::test;

namespace {

// A content that handles the frame's close button itself, as the password dialog does.
class ClosingContent : public QWidget {
    Q_OBJECT
public:
    int closeClicks = 0;
signals:
    void okButtonClicked();
public slots:
    void clickCloseButton() { ++closeClicks; }
};

// The same slot, but private: it does not count, and the close button rejects the frame.
class PrivateClosingContent : public QWidget {
    Q_OBJECT
public:
    int closeClicks = 0;
private slots:
    void clickCloseButton() { ++closeClicks; }
};

// A content that declares the slot again in a subclass: it must still be called once per click.
class DerivedClosingContent : public ClosingContent {
    Q_OBJECT
public:
public slots:
    void clickCloseButton() { ++closeClicks; }
};

QColor pixel(const QImage& image, int x, int y) { return image.pixelColor(x, y); }

// Collects the warnings Qt gives while a style sheet is parsed.
QStringList warningsWhile(const std::function<void()>& work) {
    static QStringList* sink = nullptr;
    QStringList warnings;
    sink = &warnings;
    const QtMessageHandler previous = qInstallMessageHandler(
        [](QtMsgType type, const QMessageLogContext&, const QString& message) {
            if (type == QtWarningMsg && sink) sink->append(message);
        });
    work();
    qInstallMessageHandler(previous);
    sink = nullptr;
    return warnings;
}

}  // namespace

TEST(StyleSheet, ParsesAndGivesEachVariantItsLook) {
    const QString sheet = applicationStyleSheet();
    ASSERT_FALSE(sheet.isEmpty());
    const QStringList warnings = warningsWhile([&] {
        qApp->setStyleSheet(QString());
        qApp->setStyleSheet(sheet);
        QPushButton probe;   // the sheet is parsed when the first widget is polished
        probe.ensurePolished();
    });
    EXPECT_TRUE(warnings.isEmpty()) << warnings.join(QLatin1Char('\n')).toStdString();

    const struct {
        const char* what;
        std::function<QWidget*()> make;
        QColor border;
        QColor fill;
    } cases[] = {
        {"dlg button",
         [] { auto* b = new QPushButton(QStringLiteral("OK")); b->setProperty("qss", "dlg"); return b; },
         QColor(0x00, 0x78, 0xD7), QColor(0xF3, 0xF3, 0xF3)},
        {"dlg_hi button",
         [] { auto* b = new QPushButton(QStringLiteral("Set")); b->setProperty("qss", "dlg_hi"); return b; },
         QColor(0xEE, 0x66, 0x37), QColor(0xFD, 0x6D, 0x3C)},
        {"disabled dlg button",
         [] {
             auto* b = new QPushButton(QStringLiteral("OK"));
             b->setProperty("qss", "dlg");
             b->setEnabled(false);
             return b;
         },
         QColor(0xE6, 0xE6, 0xE6), QColor(0xF3, 0xF3, 0xF3)},
        {"line edit", [] { return new QLineEdit; }, QColor(0x3D, 0x7B, 0xAD), QColor(Qt::white)},
        {"disabled line edit",
         [] { auto* e = new QLineEdit; e->setEnabled(false); return e; },
         QColor(0xCC, 0xCC, 0xCC), QColor(Qt::white)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::unique_ptr<QWidget> widget(c.make());
        widget->ensurePolished();
        widget->resize(widget->sizeHint());
        const QImage image = widget->grab().toImage();
        const int midY = image.height() / 2;
        EXPECT_EQ(pixel(image, 0, midY), c.border);
        EXPECT_EQ(pixel(image, image.width() - 1, midY), c.border);
        EXPECT_EQ(pixel(image, 2, 2), c.fill);
    }

    // A button without the property keeps the platform look; with it the size rules apply.
    QPushButton plain(QStringLiteral("OK"));
    plain.ensurePolished();
    plain.resize(plain.sizeHint());
    EXPECT_NE(pixel(plain.grab().toImage(), 0, plain.height() / 2), QColor(0x00, 0x78, 0xD7));
    QPushButton dlg(QStringLiteral("OK"));
    dlg.setProperty("qss", "dlg");
    dlg.ensurePolished();
    EXPECT_GE(dlg.sizeHint().width(), 74 + 2 * 6 + 2);   // min-width, padding, border
}

TEST(Frame, ExecResults) {
    const struct {
        const char* what;
        QDialogButtonBox::StandardButtons buttons;
        std::function<void(CustomDialog&)> act;
        int result;
    } cases[] = {
        {"OK", QDialogButtonBox::Ok | QDialogButtonBox::Cancel,
         [](CustomDialog& f) { click(f, "okButton"); }, 1},
        {"Cancel", QDialogButtonBox::Ok | QDialogButtonBox::Cancel,
         [](CustomDialog& f) { click(f, "cancelButton"); }, 0},
        {"close button", QDialogButtonBox::Ok, [](CustomDialog& f) { click(f, "closeButton"); }, 0},
        {"Escape", QDialogButtonBox::Ok, [](CustomDialog& f) { QTest::keyClick(&f, Qt::Key_Escape); }, 0},
        {"Enter takes the left button", QDialogButtonBox::Yes | QDialogButtonBox::No,
         [](CustomDialog& f) { QTest::keyClick(&f, Qt::Key_Return); }, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        auto* prompt = new MessagePromptWidget;
        prompt->setText(QStringLiteral("Text"));
        prompt->setButtons(c.buttons);
        CustomDialog frame(nullptr, prompt, QStringLiteral("Title"));
        EXPECT_EQ(textOf(frame, "title"), QStringLiteral("Title"));
        EXPECT_EQ(whileShown([&] { return frame.exec(); }, c.act), c.result);
    }
}

TEST(Frame, ContentMembersAreBoundByName) {
    {
        SCOPED_TRACE("a public clickCloseButton() receives the close button");
        auto* content = new ClosingContent;
        CustomDialog frame(nullptr, content, QStringLiteral("T"));
        const int result = whileShown([&] { return frame.exec(); }, [content](CustomDialog& f) {
            click(f, "closeButton");
            EXPECT_TRUE(f.isVisible());   // the frame is not rejected unless the content says so
            EXPECT_EQ(content->closeClicks, 1);
            emit content->okButtonClicked();
        });
        EXPECT_EQ(result, 1);
    }
    {
        SCOPED_TRACE("a slot declared again in a subclass is called once per click");
        auto* content = new DerivedClosingContent;
        CustomDialog frame(nullptr, content, QStringLiteral("T"));
        whileShown([&] { return frame.exec(); }, [content](CustomDialog& f) {
            click(f, "closeButton");
            EXPECT_EQ(content->closeClicks, 1);
            emit content->okButtonClicked();
        });
    }
    {
        SCOPED_TRACE("a private clickCloseButton() does not count");
        auto* content = new PrivateClosingContent;
        CustomDialog frame(nullptr, content, QStringLiteral("T"));
        EXPECT_EQ(whileShown([&] { return frame.exec(); },
                             [](CustomDialog& f) { click(f, "closeButton"); }),
                  0);
        EXPECT_EQ(content->closeClicks, 0);
    }
    {
        SCOPED_TRACE("a content without any member closes through the close button");
        CustomDialog frame(nullptr, new QWidget, QStringLiteral("T"));
        EXPECT_EQ(whileShown([&] { return frame.exec(); },
                             [](CustomDialog& f) { click(f, "closeButton"); }),
                  0);
    }
    {
        SCOPED_TRACE("the content's window title reaches the title label");
        auto* content = new QWidget;
        CustomDialog frame(nullptr, content, QStringLiteral("Before"));
        content->setWindowTitle(QStringLiteral("After"));
        EXPECT_EQ(textOf(frame, "title"), QStringLiteral("After"));
    }
}

TEST(Frame, HelpPopupClosesOnAnyClickAndTitledFrameDoesNot) {
    {
        auto* label = new QLabel(QStringLiteral("Help text"));
        CustomDialog popup(nullptr, label, QStringLiteral("T"));
        popup.hideTitleBar();
        EXPECT_EQ(whileShown([&] { return popup.exec(); },
                             [](CustomDialog& f) {
                                 QTest::mouseClick(&f, Qt::LeftButton, {}, QPoint(f.width() / 2, f.height() / 2));
                             }),
                  0);
        EXPECT_TRUE(popup.frameLayout().title_bar_hidden);
    }
    {
        auto* prompt = new MessagePromptWidget;
        prompt->setButtons(QDialogButtonBox::Ok);
        CustomDialog frame(nullptr, prompt, QStringLiteral("T"));
        const int result = whileShown([&] { return frame.exec(); }, [](CustomDialog& f) {
            QTest::mouseClick(&f, Qt::LeftButton, {}, QPoint(f.width() / 2, f.height() - 8));
            EXPECT_TRUE(f.isVisible());
            click(f, "okButton");
        });
        EXPECT_EQ(result, 1);
    }
}

TEST(Frame, ShadowOrBorder) {
    auto* prompt = new MessagePromptWidget;
    prompt->setText(QStringLiteral("Text"));
    prompt->setButtons(QDialogButtonBox::Ok);
    CustomDialog frame(nullptr, prompt, QStringLiteral("T"));
    frame.show();
    QImage image = frame.grab().toImage();
    const int y = image.height() / 2;
    EXPECT_EQ(pixel(image, 0, y).alpha(), 0);                 // outside the outermost outline
    EXPECT_EQ(pixel(image, 1, y), QColor(0, 0, 0, 30));       // outline k = 4
    EXPECT_EQ(pixel(image, 4, y), QColor(0, 0, 0, 90));       // outline k = 1
    EXPECT_EQ(pixel(image, 5, y).alpha(), 255);                // outline k = 0 over the surface
    EXPECT_LT(pixel(image, 5, y).red(), 160);
    EXPECT_EQ(pixel(image, image.width() - 1, y), QColor(0, 0, 0, 30));
    EXPECT_EQ(pixel(image, image.width() / 2, image.height() - 7), QColor(Qt::white));
    frame.hide();

    frame.hideTitleBar();
    frame.show();
    image = frame.grab().toImage();
    EXPECT_EQ(pixel(image, 0, image.height() / 2), QColor(0xE1, 0xE1, 0xE1));
    EXPECT_EQ(pixel(image, image.width() - 1, image.height() / 2), QColor(0xE1, 0xE1, 0xE1));
    EXPECT_EQ(pixel(image, image.width() / 2, 0), QColor(0xE1, 0xE1, 0xE1));
    EXPECT_EQ(pixel(image, 3, image.height() / 2), QColor(Qt::white));
    frame.hide();
}

TEST(Frame, HitTestSeesTheRealLayout) {
    auto* prompt = new MessagePromptWidget;
    prompt->setText(QStringLiteral("Text"));
    prompt->setButtons(QDialogButtonBox::Ok);
    CustomDialog frame(nullptr, prompt, QStringLiteral("Title"));
    frame.show();
    const FrameLayout layout = frame.frameLayout();
    EXPECT_EQ(layout.margin, 6);
    EXPECT_EQ(layout.title_height, 30);
    EXPECT_EQ(layout.title_width, frame.width() - 12);
    EXPECT_EQ(layout.height, frame.height());
    const auto at = [&](const char* name) {
        QWidget* w = frame.findChild<QWidget*>(QString::fromLatin1(name));
        return w->mapTo(&frame, w->rect().center());
    };
    const struct {
        const char* widget;
        FrameHit hit;
    } cases[] = {
        {"title", FrameHit::Caption},
        {"appIcon", FrameHit::Caption},
        {"closeButton", FrameHit::Client},
        {"label", FrameHit::Client},
        {"okButton", FrameHit::Client},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.widget);
        const QPoint p = at(c.widget);
        EXPECT_EQ(static_cast<int>(frame_hit_test(layout, p.x(), p.y())), static_cast<int>(c.hit));
    }
    frame.hide();
}

TEST(Frame, CentredOverTheMainWindowOrTheScreen) {
    QWidget main;
    main.setGeometry(100, 80, 601, 401);
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    for (QWidget* reference : {static_cast<QWidget*>(nullptr), &main}) {
        SCOPED_TRACE(reference ? "over the main window" : "over the screen");
        setMainWindow(reference);
        const QRect r = reference ? reference->geometry() : screen;
        // A message box shown by the main window, or by a one-shot task.
        whileShown([] { return showInformation(nullptr, QStringLiteral("Centred")); },
                   [r](CustomDialog& f) {
                       EXPECT_EQ(f.pos(), QPoint(r.x() + (r.width() - f.width()) / 2,
                                                 r.y() + (r.height() - f.height()) / 2));
                       click(f, "okButton");
                   });
    }
    setMainWindow(nullptr);
}

TEST(MessageBoxes, ResultsTitlesAndButtons) {
    using Box = int (*)(QWidget*, const QString&);
    const struct {
        const char* what;
        Box box;
        const char* title;
        const char* left;
        const char* right;   // null: no right button
        const char* press;
        int result;
    } cases[] = {
        {"information, OK", showInformation, "Information", "OK", nullptr, "okButton", 1},
        {"information, close", showInformation, "Information", "OK", nullptr, "closeButton", 0},
        {"information, Escape", showInformation, "Information", "OK", nullptr, "Escape", 0},
        {"question, Yes", showQuestion, "Question", "Yes", "No", "okButton", 1},
        {"question, No", showQuestion, "Question", "Yes", "No", "cancelButton", 0},
        {"question, close", showQuestion, "Question", "Yes", "No", "closeButton", 0},
        {"question, Escape", showQuestion, "Question", "Yes", "No", "Escape", 0},
        {"warning, OK", showWarning, "Warning", "OK", nullptr, "okButton", 1},
        {"warning, close", showWarning, "Warning", "OK", nullptr, "closeButton", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const int result = whileShown(
            [&] { return c.box(nullptr, QStringLiteral("The message")); },
            [&c](CustomDialog& f) {
                EXPECT_EQ(textOf(f, "title"), QString::fromLatin1(c.title));
                EXPECT_EQ(textOf(f, "label"), QStringLiteral("The message"));
                auto* icon = child<QLabel>(f, "iconLabel");
                EXPECT_EQ(icon->pixmap().size(), QSize(32, 32));
                auto* ok = child<QPushButton>(f, "okButton");
                auto* cancel = child<QPushButton>(f, "cancelButton");
                EXPECT_TRUE(ok->isVisible());
                EXPECT_EQ(ok->text(), QString::fromLatin1(c.left));
                EXPECT_EQ(cancel->isVisible(), c.right != nullptr);
                if (c.right) {
                    EXPECT_EQ(cancel->text(), QString::fromLatin1(c.right));
                }
                if (std::string(c.press) == "Escape") {
                    QTest::keyClick(&f, Qt::Key_Escape);
                } else {
                    click(f, c.press);
                }
            });
        EXPECT_EQ(result, c.result);
    }
}

#include "look_and_feel_test.moc"
