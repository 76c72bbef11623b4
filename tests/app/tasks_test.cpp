// The one-shot tasks: the question for an invalid stub on real volumes, the start-up
// translation, the honest answers of the windows this build does not contain yet, and "-p".
#include "item_inspector.h"
#include "lock_service.h"
#include "modal.h"
#include "native_path.h"
#include "start_task.h"
#include "startup_translation.h"
#include "stub.h"
#include "tasks.h"
#include "test_volumes.h"
#include "text.h"

#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QTranslator>

#include <gtest/gtest.h>

using namespace hbx;
using namespace hbx::app;
using hbx::test::TestVolumes;

namespace {

// The user's settings live in a temporary folder for the test.
class Settings {
public:
    Settings() {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir_.path());
    }
    void setLanguage(const QString& code) {
        QSettings settings(QSettings::UserScope, QStringLiteral("Zenvor"), QStringLiteral("Hushbox 1.1"));
        if (code.isNull()) {
            settings.remove(QStringLiteral("lang"));
        } else {
            settings.setValue(QStringLiteral("lang"), code);
        }
    }

private:
    QTemporaryDir dir_;
};

// Removes every catalogue that a task installed, as a new process would start.
void dropTranslations() {
    for (QTranslator* t : qApp->findChildren<QTranslator*>()) {
        QCoreApplication::removeTranslator(t);
        delete t;
    }
}

std::string native(const std::u16string& engine) { return to_native_path(engine).native; }

// The task the program chooses for a path given in native form.
TaskChoice choiceFor(const std::u16string& engine_path) {
    return choose_task(engine_path, ask_engine(native(engine_path)));
}

}  // namespace

class Tasks : public ::testing::Test {
protected:
    Settings settings;
    TestVolumes volumes;
    const std::u16string d = TestVolumes::at(u'D');
    void TearDown() override { dropTranslations(); }
};

TEST_F(Tasks, InvalidStubIsDeletedOnlyAfterYes) {
    const struct {
        const char16_t* item;
        bool folder;
        const char* press;
        const char* question;
        bool remains;
    } cases[] = {
        {u"a.txt", false, "okButton", "This is a invalid locked file, delete it or not?", false},
        {u"b.txt", false, "cancelButton", "This is a invalid locked file, delete it or not?", true},
        {u"docs", true, "okButton", "This is a invalid locked folder, delete it or not?", false},
        {u"more docs", true, "closeButton", "This is a invalid locked folder, delete it or not?", true},
    };
    for (const auto& c : cases) {
        const StubInfo stub = stub_info_for_item(d + c.item, c.folder);
        SCOPED_TRACE(native(stub.stub));
        ASSERT_EQ(write_stub(stub), 0u);
        const TaskChoice choice = choiceFor(stub.stub);
        ASSERT_EQ(choice.task, StartTask::AskDeleteInvalidStub);
        const int exit = test::whileShown([&] { return runTask(choice); }, [&c](CustomDialog& f) {
            EXPECT_EQ(test::textOf(f, "title"), QStringLiteral("Question"));
            EXPECT_EQ(test::textOf(f, "label"), QString::fromLatin1(c.question));
            test::click(f, c.press);
        });
        EXPECT_EQ(exit, 0);
        EXPECT_EQ(platform::exists(stub.stub), c.remains);
    }
}

TEST_F(Tasks, OneShotTasksSpeakTheStoredLanguage) {
    const StubInfo stub = stub_info_for_item(d + u"a.txt", false);
    ASSERT_EQ(write_stub(stub), 0u);
    const struct {
        QString code;
        const char* question;
        const char* yes;
    } cases[] = {
        {QString(), "This is a invalid locked file, delete it or not?", "Yes"},
        {QStringLiteral("en"), "This is a invalid locked file, delete it or not?", "Yes"},
        {QStringLiteral("fr"), "This is a invalid locked file, delete it or not?", "Yes"},
        {QStringLiteral("de"), "Dies ist eine ungültige gesperrte Datei. Löschen?", "Ja"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.code.toStdString());
        settings.setLanguage(c.code);
        EXPECT_EQ(storedLanguage(), c.code.isNull() ? QString() : c.code);
        test::whileShown([&] { return runTask(choiceFor(stub.stub)); }, [&c](CustomDialog& f) {
            EXPECT_EQ(test::textOf(f, "label"), QString::fromUtf8(c.question));
            EXPECT_EQ(test::child<QPushButton>(f, "okButton")->text(), QString::fromLatin1(c.yes));
            test::click(f, "cancelButton");
        });
        dropTranslations();
    }
    EXPECT_TRUE(cataloguePath(QStringLiteral("de")).endsWith(QStringLiteral("/lang/de")));
}

TEST_F(Tasks, WindowsThisBuildLacksAreNotPretended) {
    test::write_file(d + u"plain.txt", "x");
    const std::string outside = "/definitely/not/a/volume/x.txt";
    const struct {
        const char* what;
        TaskChoice choice;
        QString says;
        int exit;
    } cases[] = {
        {"main window", choose_task(std::nullopt, {}), QStringLiteral("main window"), 0},
        {"uninstall: not confirmed", choose_task(u"-u", {}), QStringLiteral("uninstall dialog"), 1},
        {"lock dialog", choiceFor(d + u"plain.txt"), QString::fromStdString(native(d + u"plain.txt")), 0},
        {"refused path", choose_task(from_utf8(outside), ask_engine(outside)),
         QString::fromStdString(outside), 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const int exit = test::whileShown([&] { return runTask(c.choice); }, [&c](CustomDialog& f) {
            EXPECT_EQ(test::textOf(f, "title"), QStringLiteral("Warning"));
            EXPECT_TRUE(test::textOf(f, "label").contains(c.says)) << test::textOf(f, "label").toStdString();
            test::click(f, "okButton");
        });
        EXPECT_EQ(exit, c.exit);
    }
}

// "-p" in a process of its own, as it runs at sign-in: no window, exit status 0, every item
// that was opened for the moment back in the vault.
TEST_F(Tasks, RelockPendingRunsWithoutAWindow) {
    const auto relock = [] {
        QProcess hushbox;
        hushbox.setProcessChannelMode(QProcess::ForwardedChannels);
        hushbox.start(QStringLiteral(HUSHBOX_PROGRAM), {QStringLiteral("-p")});
        hushbox.waitForFinished(-1);   // a window would keep it waiting: there is none
        EXPECT_EQ(hushbox.exitStatus(), QProcess::NormalExit);
        return hushbox.exitCode();
    };
    EXPECT_EQ(relock(), 0);   // nothing pending anywhere

    LockService& service = LockService::instance();
    test::make_folders(d + u"Users\\ann\\docs");
    test::write_file(d + u"Users\\ann\\a.txt", "a");
    test::write_file(d + u"Users\\ann\\docs\\in.txt", "in");
    test::write_file(TestVolumes::at(u'E', u"hidden.txt"), "h");
    const struct {
        std::u16string path;
        bool folder;
        int type;
    } items[] = {
        {d + u"Users\\ann\\a.txt", false, LOCK_TYPE_LOCK},
        {d + u"Users\\ann\\docs", true, LOCK_TYPE_LOCK},
        {TestVolumes::at(u'E', u"hidden.txt"), false, LOCK_TYPE_HIDE},
    };
    for (const auto& item : items) {
        SCOPED_TRACE(to_utf8(item.path));
        ASSERT_TRUE(service.lock(item.path, item.type));
        LOCK_TYPE type;
        std::u16string place;
        ASSERT_TRUE(service.open(item.path, type, place));   // back in place, and pending
        ASSERT_TRUE(platform::exists(item.path));
    }

    EXPECT_EQ(relock(), 0);
    for (const auto& item : items) {
        SCOPED_TRACE(to_utf8(item.path));
        EXPECT_FALSE(platform::exists(item.path));
        EXPECT_NE(service.vault_location(item.path), u"");
        // A locked item has its stub again, a hidden one has none.
        EXPECT_EQ(ItemInspector::instance().resolve_stub(
                      stub_info_for_item(item.path, item.folder).stub, nullptr),
                  item.type == LOCK_TYPE_LOCK);
    }
    // Nothing is pending any more: a second run changes nothing.
    EXPECT_EQ(relock(), 0);
    EXPECT_NE(service.vault_location(d + u"Users\\ann\\a.txt"), u"");
}
