#include "ui/instance_channel.h"

#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QPointer>
#include <QTimer>

#include <sys/socket.h>
#include <unistd.h>

#include "common/private_folder.h"

namespace trevanto {
namespace {

constexpr int kLongestPath = 64 * 1024;

// Network addresses stay as they are; local paths become absolute, since the
// running program has a current folder of its own.
QString AbsolutePath(const QString& path) {
    if (path.isEmpty() || path.contains("://"))
        return path;
    return QFileInfo(path).absoluteFilePath();
}

// True when the program at the other end of the connected socket runs as
// this user: the socket's folder keeps others out, and this keeps them out
// even where a name was given that lies in a shared folder.
bool PeerIsThisUser(const QLocalSocket& socket) {
    ucred peer{};
    socklen_t length = sizeof peer;
    return ::getsockopt(static_cast<int>(socket.socketDescriptor()), SOL_SOCKET, SO_PEERCRED, &peer,
                        &length) == 0 &&
           peer.uid == ::geteuid();
}

}  // namespace

QString InstanceChannel::DefaultName() {
    const QString name = QString("trevanto-%1").arg(::geteuid());
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (runtime.startsWith('/') && IsPrivateFolder(runtime.toStdString()))
        return QDir(runtime).filePath(name);
    // In the shared temporary folder anybody may make names; a folder of the
    // user's own keeps the socket's name from being taken first.
    const QString folder = QDir(QDir::tempPath()).filePath(name);
    if (MakePrivateFolder(folder.toStdString()))
        return QDir(folder).filePath("instance");
    return {};
}

InstanceChannel::InstanceChannel(QString name, QObject* parent)
    : QObject(parent), name_(std::move(name)) {}

InstanceChannel::~InstanceChannel() = default;

bool InstanceChannel::HandOver(const QString& path, int timeoutMs) const {
    QLocalSocket socket;
    socket.connectToServer(name_);
    if (!socket.waitForConnected(timeoutMs))
        return false;
    if (!PeerIsThisUser(socket)) {
        socket.abort();
        return false;
    }
    socket.write(AbsolutePath(path).toUtf8() + '\n');
    if (!socket.waitForBytesWritten(timeoutMs))
        return false;
    QByteArray answer;
    while (!answer.contains('\n')) {
        if (!socket.waitForReadyRead(timeoutMs))
            return false;
        answer += socket.readAll();
    }
    return answer == "ok\n";
}

bool InstanceChannel::Listen() {
    server_ = new QLocalServer(this);
    // Only the user's own starts may hand files over.
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server_->listen(name_)) {
        if (server_->serverError() != QAbstractSocket::AddressInUseError)
            return false;
        // A live server answers; a socket nobody serves is left from a
        // program that ended abruptly.
        QLocalSocket probe;
        probe.connectToServer(name_);
        if (probe.waitForConnected(1000))
            return false;
        QLocalServer::removeServer(name_);
        if (!server_->listen(name_))
            return false;
    }
    connect(server_, &QLocalServer::newConnection, this, &InstanceChannel::OnNewConnection);
    return true;
}

void InstanceChannel::OnNewConnection() {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        if (!PeerIsThisUser(*socket)) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        QPointer<QLocalSocket> guard(socket);
        connect(socket, &QLocalSocket::readyRead, this, [this, guard] {
            if (!guard || !guard->canReadLine()) {
                if (guard && guard->bytesAvailable() > kLongestPath)
                    guard->abort();
                return;
            }
            const QString path = QString::fromUtf8(guard->readLine()).chopped(1);
            guard->write("ok\n");
            guard->flush();
            guard->disconnectFromServer();
            // Opened from the event loop, so that a message box of the open
            // never holds up the answer.
            QTimer::singleShot(0, this, [this, path] { emit OpenRequested(path); });
        });
    }
}

}  // namespace trevanto
