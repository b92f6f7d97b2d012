#pragma once
// One desktop program per user session: a later start hands the file it was
// given (a video or a shots file opened from the file manager) to the running
// program through a local socket, and ends.
//
// On the wire: the client sends one absolute path (UTF-8, may be empty: "show
// the window") and a line feed; the server answers "ok" and a line feed once
// it has taken the path, before it opens it. Both ends talk only to a
// program of the same user.
#include <QObject>
#include <QString>

class QLocalServer;

namespace trevanto {

class InstanceChannel : public QObject {
    Q_OBJECT
  public:
    // The user's server, in a folder no other user may enter: "trevanto-<uid>"
    // in $XDG_RUNTIME_DIR when that is such a folder, else "instance" in the
    // folder "trevanto-<uid>" of the temporary folder, made for it. Empty
    // when neither is safe: the program then runs without the channel.
    static QString DefaultName();

    // `name` as QLocalServer takes it: a plain name or a socket path.
    explicit InstanceChannel(QString name, QObject* parent = nullptr);
    ~InstanceChannel() override;

    // Hands `path` to a running program; true once it has taken it. A
    // server of another user is told nothing.
    bool HandOver(const QString& path, int timeoutMs = 5000) const;
    // Serves later starts. A socket left by a program that ended without
    // removing it is replaced; false when the server cannot be set up or
    // another program (maybe another user's) is the server.
    bool Listen();

  signals:
    // A later start handed over this path (empty: just show the window).
    void OpenRequested(const QString& path);

  private:
    void OnNewConnection();

    QString name_;
    QLocalServer* server_ = nullptr;
};

}  // namespace trevanto
