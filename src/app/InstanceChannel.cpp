#include "app/InstanceChannel.h"

#include <QLocalServer>
#include <QLocalSocket>

namespace vantor {

namespace {
// A path travels as one UTF-8 line; anything longer than a path can be is dropped.
constexpr qint64 kMaxMessage = 64 * 1024;
} // namespace

InstanceChannel::InstanceChannel(QObject *parent) : QObject(parent) {}

InstanceChannel::~InstanceChannel() = default;

bool InstanceChannel::listen(const QString &name)
{
    delete m_server;
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    // The lock file says no program runs: a socket left by a crash is stale.
    QLocalServer::removeServer(name);
    if (!m_server->listen(name))
        return false;
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket *socket = m_server->nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
                if (socket->bytesAvailable() > kMaxMessage) {
                    socket->abort();
                    return;
                }
                if (!socket->canReadLine())
                    return;
                const QString path = QString::fromUtf8(socket->readLine()).trimmed();
                socket->write("ok\n");
                socket->flush();
                // Queued: the socket may be gone by the time the request has been dealt with.
                QMetaObject::invokeMethod(
                    this,
                    [this, path] {
                        if (path.isEmpty())
                            emit activationRequested();
                        else
                            emit fileRequested(path);
                    },
                    Qt::QueuedConnection);
            });
        }
    });
    return true;
}

bool InstanceChannel::sendFile(const QString &path, const QString &name, int timeoutMs)
{
    QLocalSocket socket;
    socket.connectToServer(name);
    if (!socket.waitForConnected(timeoutMs))
        return false;
    socket.write(path.toUtf8() + "\n");
    if (!socket.waitForBytesWritten(timeoutMs))
        return false;
    return socket.waitForReadyRead(timeoutMs) && socket.readLine().trimmed() == "ok";
}

} // namespace vantor
