#pragma once
// The running instance's channel: a local socket next to its instance lock, through which a
// second launch hands over the photos it was asked to open.
#include <QLocalServer>
#include <QObject>
#include <QStringList>

// Listens on the channel of the instance lock's key; only the holder of that lock may listen,
// so a socket file a crashed instance left there is removed first.
class TInstanceServer : public QObject {
    Q_OBJECT
public:
    explicit TInstanceServer(QObject* parent = nullptr);
    bool Listen(const QString& key);
    bool Listen(); // this executable's key
    void Close(); // removes the socket file
    bool IsListening() const { return server_.isListening(); }

Q_SIGNALS:
    // A complete request arrived; its sender has been told so.
    void PathsReceived(const QStringList& paths);

private:
    void Accept();
    QLocalServer server_;
};

// Hands paths to the instance that listens on key's channel and waits up to timeoutMs for it
// to confirm; false when nothing listens (a crashed instance's socket, or one still starting
// past the time) or it did not confirm.
bool HandToRunningInstance(const QStringList& paths, const QString& key, int timeoutMs);
bool HandToRunningInstance(const QStringList& paths, int timeoutMs);
