// LoginBlock: the shared segment of 68 bytes (login_block_layout.h) through which the running
// main window tells the program's other processes where to send the refresh message and which
// password the user logged in with. The main window creates and fills it; the lock and unlock
// dialogs of other processes read it and notify the window. Every access takes the segment's
// lock for the copy only.
#pragma once

#include "login_block_layout.h"

#include <QSharedMemory>
#include <QString>

#include <optional>

namespace hbx::app {

class LoginBlock {
public:
    /// The block of the current user: "HBX0c5e1f3a8d6b2e4f9a7c3b1d5e8f2a6c", on Linux followed
    /// by "-" and the user id (a segment of another user with the same key could not be
    /// opened).
    static QString defaultKey();

    /// The block object of a main window; the segment is created by publish().
    explicit LoginBlock(const QString& key = defaultKey());

    /// Releases the segment: it lives as long as the main window that created it.
    ~LoginBlock();

    LoginBlock(const LoginBlock&) = delete;
    LoginBlock& operator=(const LoginBlock&) = delete;

    /// Creates the segment, read-write, all zero, with `endpoint` at offset 0. False when it
    /// cannot be created because another main window holds it; nothing more is done with the
    /// block then. A segment left behind by a main window that was killed is recovered.
    bool publish(RefreshEndpoint endpoint);

    /// Stores the password of the current login at offset 4 (at most 31 units). False, with
    /// nothing written, when this object did not create the segment.
    bool storePassword(const QString& password);

    /// The block's content, or nothing when no segment can be attached and locked (no main
    /// window runs).
    static std::optional<LoginBlockContent> read(const QString& key = defaultKey());

    /// Reads the block and sends the refresh message to the main window it names; returns
    /// once the window has reloaded its list. False when no main window could be reached.
    static bool notify(const QString& key = defaultKey());

private:
    QSharedMemory memory_;
};

}  // namespace hbx::app
