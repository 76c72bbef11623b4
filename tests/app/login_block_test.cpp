// The login block between two real processes: a stand-in main window (login_block_peer) and
// this test as the dialog process that reads the block and sends the refresh message.
#include "login_block.h"
#include "refresh_endpoint.h"

#include <QCoreApplication>
#include <QFile>
#include <QLocalServer>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <unistd.h>

using namespace hbx::app;

namespace {

// The stand-in main window in its own process.
class MainWindowProcess {
public:
    MainWindowProcess(const QString& key, const QString& marker) {
        process_.setProgram(QCoreApplication::applicationDirPath() +
                            QStringLiteral("/login_block_peer"));
        process_.setArguments({key, marker});
        process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process_.start();
        process_.waitForStarted(-1);
        const QStringList words = line().split(QLatin1Char(' '));
        published_ = words.size() == 3 && words[0] == QLatin1String("published") &&
                     words[1] == QLatin1String("1");
        endpoint_ = words.size() == 3 ? words[2].toUInt() : 0;
    }
    ~MainWindowProcess() {
        if (process_.state() != QProcess::NotRunning) {
            process_.write("quit\n");
            process_.closeWriteChannel();
            process_.waitForFinished(-1);
        }
    }

    bool published() const { return published_; }
    RefreshEndpoint endpoint() const { return endpoint_; }

    bool store(const QString& password) {
        process_.write(QStringLiteral("store %1\n").arg(password).toUtf8());
        return line() == QLatin1String("stored 1");
    }

    // Kills the process without giving it a chance to release anything.
    void kill() {
        process_.kill();
        process_.waitForFinished(-1);
    }

private:
    QString line() {
        while (!process_.canReadLine()) {
            if (!process_.waitForReadyRead(-1)) return {};
        }
        return QString::fromUtf8(process_.readLine()).trimmed();
    }

    QProcess process_;
    bool published_ = false;
    RefreshEndpoint endpoint_ = 0;
};

QByteArray contentOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

class LoginBlockProcesses : public ::testing::Test {
protected:
    // A key of this test run, so that a main window of the user is never touched.
    const QString key = QStringLiteral("HBXtest-%1").arg(getpid());
    QTemporaryDir dir;
    const QString marker = dir.filePath(QStringLiteral("reloads"));
};

TEST_F(LoginBlockProcesses, PublishStoreReadAndNotify) {
    EXPECT_FALSE(LoginBlock::read(key).has_value());   // no main window runs yet
    EXPECT_FALSE(LoginBlock::notify(key));

    MainWindowProcess main(key, marker);
    ASSERT_TRUE(main.published());
    EXPECT_NE(main.endpoint(), 0u);

    // Before the login: the endpoint and an empty password.
    std::optional<LoginBlockContent> content = LoginBlock::read(key);
    ASSERT_TRUE(content.has_value());
    EXPECT_EQ(content->endpoint, main.endpoint());
    EXPECT_EQ(content->password, u"");

    // A second main window does not publish and cannot write.
    {
        LoginBlock second(key);
        EXPECT_FALSE(second.publish(12345));
        EXPECT_FALSE(second.storePassword(QStringLiteral("intruder")));
    }
    EXPECT_EQ(LoginBlock::read(key)->endpoint, main.endpoint());

    // After a login, and after a password change.
    for (const QString& password : {QStringLiteral("s3cret"), QStringLiteral("n\u00e9w pass")}) {
        SCOPED_TRACE(password.toStdString());
        ASSERT_TRUE(main.store(password));
        content = LoginBlock::read(key);
        ASSERT_TRUE(content.has_value());
        EXPECT_EQ(content->password, password.toStdU16String());
        EXPECT_EQ(content->endpoint, main.endpoint());
    }

    // The refresh message returns only after the main window has reloaded.
    EXPECT_TRUE(LoginBlock::notify(key));
    EXPECT_EQ(contentOf(marker), QByteArray("reloaded\n"));
    EXPECT_TRUE(LoginBlock::notify(key));
    EXPECT_EQ(contentOf(marker), QByteArray("reloaded\nreloaded\n"));
}

TEST_F(LoginBlockProcesses, SegmentOfAKilledMainWindowIsRecovered) {
    RefreshEndpoint dead = 0;
    {
        MainWindowProcess main(key, marker);
        ASSERT_TRUE(main.published());
        ASSERT_TRUE(main.store(QStringLiteral("old")));
        dead = main.endpoint();
        main.kill();
    }
    // Nothing answers at the dead window's endpoint.
    EXPECT_FALSE(send_refresh(dead));
    QLocalServer::removeServer(QString::fromStdString(refresh_socket_name(getuid(), dead)));

    // The next main window publishes over the segment that was left behind.
    MainWindowProcess next(key, marker);
    EXPECT_TRUE(next.published());
    const std::optional<LoginBlockContent> content = LoginBlock::read(key);
    ASSERT_TRUE(content.has_value());
    EXPECT_EQ(content->endpoint, next.endpoint());
    EXPECT_EQ(content->password, u"");
    EXPECT_TRUE(LoginBlock::notify(key));
    EXPECT_EQ(contentOf(marker), QByteArray("reloaded\n"));
}
