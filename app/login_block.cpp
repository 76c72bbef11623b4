#include "login_block.h"

#include <cstring>

#ifndef Q_OS_WIN
#include <unistd.h>
#endif

namespace hbx::app {

QString LoginBlock::defaultKey() {
    QString key = QStringLiteral("HBX0c5e1f3a8d6b2e4f9a7c3b1d5e8f2a6c");
#ifndef Q_OS_WIN
    key += QLatin1Char('-') + QString::number(getuid());
#endif
    return key;
}

LoginBlock::LoginBlock(const QString& key) : memory_(key) {}

LoginBlock::~LoginBlock() = default;

bool LoginBlock::publish(RefreshEndpoint endpoint) {
    if (!memory_.create(static_cast<qsizetype>(login_block_size), QSharedMemory::ReadWrite)) {
        if (memory_.error() != QSharedMemory::AlreadyExists) return false;
        // A main window that was killed leaves its segment behind (System V keeps it). Once
        // nothing is attached any more, attaching and detaching removes it; a running main
        // window stays attached and keeps its segment, so the second create fails as it should.
        if (memory_.attach(QSharedMemory::ReadOnly)) memory_.detach();
        if (!memory_.create(static_cast<qsizetype>(login_block_size), QSharedMemory::ReadWrite)) {
            return false;
        }
    }
    if (!memory_.lock()) return false;
    const LoginBlockBytes block = new_login_block(endpoint);
    std::memcpy(memory_.data(), block.data(), block.size());
    memory_.unlock();
    return true;
}

bool LoginBlock::storePassword(const QString& password) {
    if (!memory_.isAttached() || !memory_.lock()) return false;
    write_login_password(static_cast<unsigned char*>(memory_.data()), password.toStdU16String());
    memory_.unlock();
    return true;
}

std::optional<LoginBlockContent> LoginBlock::read(const QString& key) {
    QSharedMemory memory(key);
    if (!memory.attach(QSharedMemory::ReadOnly)) return std::nullopt;
    if (memory.size() < static_cast<qsizetype>(login_block_size) || !memory.lock()) {
        memory.detach();
        return std::nullopt;
    }
    LoginBlockBytes bytes;
    std::memcpy(bytes.data(), memory.constData(), bytes.size());
    memory.unlock();
    memory.detach();
    return read_login_block(bytes.data());
}

bool LoginBlock::notify(const QString& key) {
    const std::optional<LoginBlockContent> content = read(key);
    return content && send_refresh(content->endpoint);
}

}  // namespace hbx::app
