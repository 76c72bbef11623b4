#include "refresh_receiver.h"

#include <QLocalServer>
#include <QLocalSocket>
#include <QWidget>

#ifdef Q_OS_WIN
#include "win/window_refresh.h"
#include <QAbstractEventDispatcher>
#include <QAbstractNativeEventFilter>
#include <windows.h>
#else
#include <unistd.h>
#endif

#include <cstring>

namespace hbx::app {

#ifdef Q_OS_WIN

namespace {
// Watches the GUI thread's messages for the refresh message to one window.
class RefreshFilter : public QAbstractNativeEventFilter {
public:
    RefreshFilter(HWND window, RefreshReceiver* receiver) : window_(window), receiver_(receiver) {}
    bool nativeEventFilter(const QByteArray&, void* message, qintptr*) override {
        const MSG* msg = static_cast<const MSG*>(message);
        if (msg->hwnd == window_ && win::is_refresh_message(msg->message)) {
            emit receiver_->refreshRequested();
        }
        return false;   // the message goes on to its default handling
    }

private:
    HWND window_;
    RefreshReceiver* receiver_;
};
}  // namespace

RefreshReceiver::RefreshReceiver(QWidget* window, QObject* parent) : QObject(parent) {
    const HWND handle = reinterpret_cast<HWND>(window->winId());
    endpoint_ = win::endpoint_of_window(handle);
    auto* filter = new RefreshFilter(handle, this);
    QAbstractEventDispatcher::instance()->installNativeEventFilter(filter);
    connect(this, &QObject::destroyed, [filter] {
        QAbstractEventDispatcher::instance()->removeNativeEventFilter(filter);
        delete filter;
    });
}

RefreshReceiver::~RefreshReceiver() = default;

#else

RefreshReceiver::RefreshReceiver(QWidget*, QObject* parent) : QObject(parent) {
    const auto pid = static_cast<RefreshEndpoint>(getpid());
    const QString name = QString::fromStdString(refresh_socket_name(getuid(), pid));
    // Listening replaces whatever socket file has the name, also a live server's: only a
    // socket that no longer answers is removed.
    {
        QLocalSocket probe;
        probe.connectToServer(name);
        if (probe.waitForConnected(0) || probe.state() == QLocalSocket::ConnectedState) return;
    }
    QLocalServer::removeServer(name);
    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server_->listen(name)) return;
    endpoint_ = pid;
    connect(server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = server_->nextPendingConnection()) serve(socket);
    });
}

RefreshReceiver::~RefreshReceiver() = default;

void RefreshReceiver::serve(QLocalSocket* socket) {
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
        while (socket->bytesAvailable() >= static_cast<qint64>(sizeof(std::uint32_t))) {
            std::uint32_t request = 0;
            socket->read(reinterpret_cast<char*>(&request), sizeof request);
            if (request != refresh_message) {
                socket->disconnectFromServer();
                return;
            }
            emit refreshRequested();          // the reload runs here
            socket->write("\1", 1);           // then the sender is released
            socket->flush();
        }
    });
}

#endif

}  // namespace hbx::app
