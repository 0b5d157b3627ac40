#include "platform/instancechannel.h"

#include "platform/appdir.h"
#include "platform/openrequest.h"
#include "platform/process.h"

#include <QDeadlineTimer>
#include <QLocalSocket>
#include <QThread>

#include <memory>

namespace {

const QString kSocketSuffix = QStringLiteral(".socket");
const QByteArray kConfirmation = QByteArrayLiteral("OK\n");

} // namespace

TInstanceServer::TInstanceServer(QObject* parent)
    : QObject(parent)
{
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    connect(&server_, &QLocalServer::newConnection, this, &TInstanceServer::Accept);
}

bool TInstanceServer::Listen(const QString& key)
{
    const QString path = InstanceFilePath(key, kSocketSuffix);
    if (server_.isListening() && server_.fullServerName() == path)
        return true;
    server_.close();
    QLocalServer::removeServer(path);
    return server_.listen(path);
}

bool TInstanceServer::Listen()
{
    return Listen(ExecutablePath());
}

void TInstanceServer::Close()
{
    server_.close();
}

void TInstanceServer::Accept()
{
    while (QLocalSocket* socket = server_.nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        auto message = std::make_shared<QByteArray>(); // what arrived so far
        connect(socket, &QLocalSocket::readyRead, this, [this, socket, message] {
            *message += socket->readAll();
            const TOpenRequest request = ParseOpenRequest(*message);
            if (request.status == TOpenRequest::Bad) {
                socket->abort();
            } else if (request.status == TOpenRequest::Complete) {
                message->clear();
                socket->write(kConfirmation);
                socket->flush();
                Q_EMIT PathsReceived(request.paths);
            }
        });
    }
}

bool HandToRunningInstance(const QStringList& paths, const QString& key, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    const QString path = InstanceFilePath(key, kSocketSuffix);
    QLocalSocket socket;
    // An instance still starting may not listen yet.
    for (;;) {
        socket.connectToServer(path);
        if (socket.waitForConnected(int(std::max<qint64>(deadline.remainingTime(), 0))))
            break;
        if (deadline.hasExpired())
            return false;
        QThread::msleep(50);
    }
    socket.write(EncodeOpenRequest(paths));
    QByteArray answer;
    while (answer.size() < kConfirmation.size() && socket.state() == QLocalSocket::ConnectedState
        && !deadline.hasExpired()) {
        const int left = int(std::max<qint64>(deadline.remainingTime(), 0));
        if (socket.bytesToWrite() > 0)
            socket.waitForBytesWritten(left);
        else if (socket.waitForReadyRead(left))
            answer += socket.readAll();
    }
    answer += socket.readAll();
    return answer == kConfirmation;
}

bool HandToRunningInstance(const QStringList& paths, int timeoutMs)
{
    return HandToRunningInstance(paths, ExecutablePath(), timeoutMs);
}
