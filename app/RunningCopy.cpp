// SPDX-License-Identifier: MIT
#include "app/RunningCopy.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QSocketNotifier>
#include <QWidget>

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace app {

namespace {

// A socket in Linux's abstract namespace: it has no file, so a killed copy
// leaves nothing behind, and the kernel frees the name with the process.
// A plain socket rather than Qt Network: this is its only use, and the
// library would cost every start its loading and a megabyte and more.
socklen_t AbstractAddress(const QByteArray& name, sockaddr_un& address)
{
    std::memset(&address, 0, sizeof address);
    address.sun_family = AF_UNIX;
    const auto length = std::min<std::size_t>(std::size_t(name.size()), sizeof address.sun_path - 1);
    std::memcpy(address.sun_path + 1, name.constData(), length); // sun_path[0] = 0: abstract
    return socklen_t(offsetof(sockaddr_un, sun_path) + 1 + length);
}

} // namespace

RunningCopy::RunningCopy(QObject* parent)
    : QObject(parent)
{
}

RunningCopy::~RunningCopy()
{
    if (listening_ >= 0)
        ::close(listening_);
}

QByteArray RunningCopy::socketName(const QString& saveDir)
{
    const QString canonical = QFileInfo(saveDir).canonicalFilePath();
    const QByteArray key = (canonical.isEmpty() ? QDir::cleanPath(saveDir) : canonical).toUtf8();
    return "zelmor-" + QCryptographicHash::hash(key, QCryptographicHash::Sha1).toHex().left(16);
}

void RunningCopy::answerCalls(const QString& saveDir, QWidget* window)
{
    window_ = window;
    sockaddr_un address;
    const socklen_t length = AbstractAddress(socketName(saveDir), address);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0)
        return; // the game plays on; a later copy only goes unanswered
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&address), length) != 0 || ::listen(fd, 4) != 0) {
        ::close(fd);
        return;
    }
    listening_ = fd;
    notifier_ = new QSocketNotifier(fd, QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &RunningCopy::answer);
}

// Every call waiting is taken and hung up; one raise answers them all.
void RunningCopy::answer()
{
    bool called = false;
    for (int caller; (caller = ::accept4(listening_, nullptr, nullptr, SOCK_CLOEXEC)) >= 0;) {
        ::close(caller);
        called = true;
    }
    if (called)
        raiseWindow();
}

bool RunningCopy::call(const QString& saveDir)
{
    sockaddr_un address;
    const socklen_t length = AbstractAddress(socketName(saveDir), address);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    const bool answered = ::connect(fd, reinterpret_cast<const sockaddr*>(&address), length) == 0;
    ::close(fd);
    return answered;
}

void RunningCopy::raiseWindow()
{
    if (!window_)
        return;
    if (window_->isMinimized())
        window_->showNormal();
    window_->raise();
    window_->activateWindow();
}

} // namespace app
