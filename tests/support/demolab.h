#pragma once
// The demo lab servers (tools/demo-lab/serve.py) run by a test on free loopback ports.
#include <QProcess>
#include <QString>
#include <QStringList>

class TDemoLab {
public:
    // Starts serve.py on folder with the extra switches (fault injection, --user ...), on
    // ephemeral ports unless the switches name them. Started() tells whether it came up.
    explicit TDemoLab(const QString& folder, const QStringList& switches = {});
    ~TDemoLab();
    TDemoLab(const TDemoLab&) = delete;
    TDemoLab& operator=(const TDemoLab&) = delete;

    bool Started() const { return httpPort_ > 0; }
    int HttpPort() const { return httpPort_; }
    int FtpPort() const { return ftpPort_; }
    int FtpProxyPort() const { return ftpProxyPort_; } // the demo FTP proxy (0 with --no-ftp)
    QString Url(const QString& path) const; // http://127.0.0.1:port + path
    // Everything the server printed so far.
    QString Output();
    // Waits up to timeoutMs until the server has printed text at least times times; returns
    // whether it did.
    bool WaitForOutput(const QString& text, int timeoutMs = 5000, int times = 1);

private:
    QProcess process_;
    QString output_;
    int httpPort_ = 0;
    int ftpPort_ = 0;
    int ftpProxyPort_ = 0;
};

// A loopback TCP port that nothing listened on a moment ago.
int FreeLoopbackPort();
// Binds the TCP socket fd to a free loopback port (without listening); the port, or 0.
int BindLoopback(int fd);

// A loopback TCP port that refuses every connection for as long as this object lives: it is
// bound without listening, so no other process can start a server on it meanwhile.
class TRefusingPort {
public:
    TRefusingPort();
    ~TRefusingPort();
    TRefusingPort(const TRefusingPort&) = delete;
    TRefusingPort& operator=(const TRefusingPort&) = delete;
    int Port() const { return port_; }

private:
    int fd_ = -1;
    int port_ = 0;
};
