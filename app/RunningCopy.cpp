// SPDX-License-Identifier: MIT
#include "app/RunningCopy.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QSocketNotifier>
#include <QWidget>

#include <algorithm>
#include <vector>
#include <cstddef>
#include <cstring>
#include <poll.h>
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

// Waits until the running copy hangs up, which it does once its window is
// raised; a copy too busy to answer is waited for two seconds at most.
void AwaitHangUp(int fd)
{
    constexpr int PatienceMs = 2000;
    pollfd watched{fd, POLLIN, 0};
    char byte;
    while (::poll(&watched, 1, PatienceMs) > 0 && ::read(fd, &byte, 1) > 0) {
    }
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

// Every call waiting is taken; one raise answers them all. The callers are
// hung up only once the window server has the raise, so that the message a
// caller shows next stands above the window raised, not under it.
void RunningCopy::answer()
{
    std::vector<int> callers;
    for (int caller; (caller = ::accept4(listening_, nullptr, nullptr, SOCK_CLOEXEC)) >= 0;)
        callers.push_back(caller);
    if (callers.empty())
        return;
    raiseWindow();
    QGuiApplication::sync();
    for (int caller : callers)
        ::close(caller);
}

bool RunningCopy::call(const QString& saveDir)
{
    sockaddr_un address;
    const socklen_t length = AbstractAddress(socketName(saveDir), address);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    const bool answered = ::connect(fd, reinterpret_cast<const sockaddr*>(&address), length) == 0;
    if (answered)
        AwaitHangUp(fd);
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
