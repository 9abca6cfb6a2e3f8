// SPDX-License-Identifier: MIT
#include "app/RunningCopy.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QWidget>

namespace app {

namespace {

// A call is one byte; the caller waits this long for the running copy.
constexpr int CallTimeoutMs = 1000;

} // namespace

RunningCopy::RunningCopy(QObject* parent)
    : QObject(parent)
{
}

RunningCopy::~RunningCopy() = default;

QString RunningCopy::socketName(const QString& saveDir)
{
    const QString canonical = QFileInfo(saveDir).canonicalFilePath();
    const QByteArray key = (canonical.isEmpty() ? QDir::cleanPath(saveDir) : canonical).toUtf8();
    return QStringLiteral("zelmor-")
        + QString::fromLatin1(QCryptographicHash::hash(key, QCryptographicHash::Sha1).toHex().left(16));
}

void RunningCopy::answerCalls(const QString& saveDir, QWidget* window)
{
    window_ = window;
    const QString name = socketName(saveDir);
    QLocalServer::removeServer(name);
    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server_->listen(name))
        return; // the game plays on; a later copy only goes unanswered
    connect(server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* caller = server_->nextPendingConnection()) {
            connect(caller, &QLocalSocket::disconnected, caller, &QObject::deleteLater);
            caller->disconnectFromServer();
            raiseWindow();
        }
    });
}

bool RunningCopy::call(const QString& saveDir)
{
    QLocalSocket socket;
    socket.connectToServer(socketName(saveDir));
    if (!socket.waitForConnected(CallTimeoutMs))
        return false;
    socket.write("r");
    socket.waitForBytesWritten(CallTimeoutMs);
    socket.disconnectFromServer();
    return true;
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
