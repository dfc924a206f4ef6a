#include "ui/restore_channel.h"

#include <QLocalServer>
#include <QLocalSocket>

namespace torvane::ui {
namespace {

constexpr qint64 kMaxRequest = 4096;  // a path and its newline; anything longer is no request of ours

}  // namespace

RestoreServer::RestoreServer(QString socket_path, QString own_executable, QObject* parent)
    : QObject(parent),
      socket_path_(std::move(socket_path)),
      own_executable_(std::move(own_executable)),
      server_(new QLocalServer(this)) {
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    connect(server_, &QLocalServer::newConnection, this, &RestoreServer::OnConnection);
}

bool RestoreServer::Listen() {
    QLocalServer::removeServer(socket_path_);
    return server_->listen(socket_path_);
}

void RestoreServer::OnConnection() {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            if (!socket->canReadLine()) {
                if (socket->bytesAvailable() > kMaxRequest) socket->abort();
                return;
            }
            const QString path = QString::fromUtf8(socket->readLine(kMaxRequest)).chopped(1);
            socket->disconnectFromServer();
            if (path == own_executable_)
                emit RestoreRequested();
            else
                emit ForeignRequestIgnored(path);
        });
    }
}

bool SendRestoreRequest(const QString& socket_path, const QString& executable, int timeout_ms) {
    QLocalSocket socket;
    socket.connectToServer(socket_path);
    if (!socket.waitForConnected(timeout_ms)) return false;
    socket.write(executable.toUtf8() + '\n');
    const bool written = socket.waitForBytesWritten(timeout_ms);
    socket.disconnectFromServer();
    return written;
}

}  // namespace torvane::ui
