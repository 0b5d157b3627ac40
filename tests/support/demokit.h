#pragma once
// A demo lab kit made by vendaro-lab init-demo on free loopback ports, with its servers
// started on demand. Its server offers FTP over TLS; its engine.ini asks for plain FTP unless
// the test asks for TLS (ftpTls 1 or 2, with CaFile() trusted).
#include "tests/support/demolab.h"

#include <QStringList>
#include <QTemporaryDir>

#include <memory>

class TKit {
public:
    explicit TKit(int ftpTls = 0);
    bool Made() const { return made_; }
    QString Root() const { return dir_.filePath("kit"); }
    QString Program(const QString& name = {}) const { return Root() + "/program/" + name; }
    QString Www(const QString& name) const { return Root() + "/server/www/" + name; }
    QString Ftp(const QString& name) const { return Root() + "/server/ftp/" + name; }
    // The kit's certificate authority, for SSL_CERT_FILE.
    QString CaFile() const { return Root() + "/server/tls/ca.pem"; }
    // The folder the program's temporary files (the update installer) go to.
    QString Temp() const { return dir_.filePath("temp"); }

    // Starts the servers with fault switches; false when they do not come up.
    bool Serve(const QStringList& faults = {});
    TDemoLab& Lab() { return *lab_; }

    // Replaces text in a kit file; restamp keeps its stamp valid.
    void Edit(const QString& path, const QByteArray& from, const QByteArray& to, bool restamp);
    QStringList ProgramFiles(const QString& mask) const;

private:
    QTemporaryDir dir_;
    int httpPort_;
    int ftpPort_;
    bool made_ = false;
    std::unique_ptr<TDemoLab> lab_;
};
