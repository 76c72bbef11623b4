// RefreshReceiver: the main window's end of the refresh message. It names the window by the
// endpoint that the login block carries and emits refreshRequested() for every request; the
// sender is released only after the connected slots (the reload) have returned.
//
// On Linux it listens on the user's local socket named after the process id; on Windows the
// endpoint is the window's handle and the message arrives in the window's message loop.
#pragma once

#include "refresh_endpoint.h"

#include <QObject>

class QLocalServer;
class QLocalSocket;
class QWidget;

namespace hbx::app {

class RefreshReceiver : public QObject {
    Q_OBJECT

public:
    /// Starts receiving for `window` (the main window).
    explicit RefreshReceiver(QWidget* window, QObject* parent = nullptr);
    ~RefreshReceiver() override;

    /// What the main window publishes at offset 0 of the login block; 0 when nothing can be
    /// received.
    RefreshEndpoint endpoint() const { return endpoint_; }

signals:
    /// A dialog of another process changed the vault: reload the list. Connect directly: the
    /// sender waits until the slots have returned.
    void refreshRequested();

private:
    RefreshEndpoint endpoint_ = 0;
#ifndef Q_OS_WIN
    void serve(QLocalSocket* socket);
    QLocalServer* server_ = nullptr;
#endif
};

}  // namespace hbx::app
