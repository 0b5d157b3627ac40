#pragma once
// ProFTPD (Debian's proftpd-core with mod_tls) run by a test on a free loopback port with TLS
// required and its defaults otherwise, so data connections that do not reuse the control
// connection's TLS session are refused, as on the labs' servers. One account (TFtpServer's) is
// rooted at a scratch folder; uploads may be resumed (AllowStoreRestart).
#include "net/ftpclient.h"
#include "tests/support/tlscerts.h"

#include <QProcess>
#include <QString>
#include <QTemporaryDir>

class TProftpd {
public:
    TProftpd();
    ~TProftpd();
    TProftpd(const TProftpd&) = delete;
    TProftpd& operator=(const TProftpd&) = delete;

    bool Installed() const { return installed_; }
    // Running and accepting connections (waited for up to 10 s).
    bool Started() const { return started_; }
    int Port() const { return port_; }
    // The authority to trust (SSL_CERT_FILE) for the server's certificate, made out to 127.0.0.1.
    const QString& CaFile() const { return certificates_.caFile; }
    // A path in the account's folder on the server's disk.
    QString Root(const QString& name = {}) const;
    // What a client needs to reach the server: account, TLS required, 5 s time-out.
    TFtpSettings Settings() const;
    // mod_tls's log: it names every data connection whose TLS session was not reused.
    QString TlsLog() const;

private:
    QTemporaryDir dir_;
    TTestCertificates certificates_;
    QProcess process_;
    bool installed_ = false;
    bool started_ = false;
    int port_ = 0;
};
