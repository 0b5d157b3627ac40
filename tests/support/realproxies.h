#pragma once
// Debian's own proxies run by a test on a free loopback port and stopped with the object:
// tinyproxy (HTTP, Basic authentication) and ftp-proxy (FTP, USER user@host[:port]).
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

#include <memory>

class TRealProxy {
public:
    ~TRealProxy();
    TRealProxy(const TRealProxy&) = delete;
    TRealProxy& operator=(const TRealProxy&) = delete;

    // tinyproxy that serves only requests carrying Basic authentication user:password.
    static std::unique_ptr<TRealProxy> Tinyproxy(const QString& user, const QString& password);
    // ftp-proxy; with a range, it reaches servers from source ports firstSourcePort to
    // lastSourcePort only (see the demo lab's --ftp-only-from-ports).
    static std::unique_ptr<TRealProxy> FtpProxy(int firstSourcePort = 0, int lastSourcePort = 0);

    bool Installed() const { return installed_; }
    // Running and accepting connections (waits up to 5 s for it).
    bool Started() const { return started_; }
    int Port() const { return port_; }
    // What the proxy wrote to its log file.
    QString Log() const;

private:
    // Runs program with arguments and then the path of a configuration file holding configText,
    // in which {port} stands for the port and {log} for the log file.
    TRealProxy(const QString& program, const QString& configText, const QStringList& arguments);

    QTemporaryDir dir_;
    QProcess process_;
    bool installed_ = false;
    bool started_ = false;
    int port_ = 0;
};
