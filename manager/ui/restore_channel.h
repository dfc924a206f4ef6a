// The restore request between two starts of the manager. The running instance listens on a local
// socket; a second start sends its executable's path there and ends. The running instance restores and
// raises its window only when the path is its own (another copy of the program is not its business).
#pragma once

#include <QObject>
#include <QString>

class QLocalServer;

namespace torvane::ui {

class RestoreServer final : public QObject {
    Q_OBJECT
  public:
    RestoreServer(QString socket_path, QString own_executable, QObject* parent = nullptr);

    // Listens, replacing a socket file left by an instance that ended without removing it (the caller
    // holds the instance lock, so no running instance owns it). False when the socket cannot be made.
    bool Listen();

  signals:
    void RestoreRequested();
    void ForeignRequestIgnored(const QString& executable);

  private:
    void OnConnection();

    QString socket_path_;
    QString own_executable_;
    QLocalServer* server_;
};

// Sends the request; true when it was written to a listening instance within `timeout_ms`.
bool SendRestoreRequest(const QString& socket_path, const QString& executable, int timeout_ms = 2000);

}  // namespace torvane::ui
