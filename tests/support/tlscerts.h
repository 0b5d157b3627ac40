#pragma once
// A throw-away certificate authority and a server certificate for an address signed by it,
// made with openssl for tests of https:// transfers against the demo lab (--tls-cert).
#include <QByteArray>
#include <QString>

struct TTestCertificates {
    QString caFile; // the authority's certificate: what a trusting store holds
    QString serverPem; // the server's certificate and key in one file
};

// Writes the files into folder, the server's certificate made out to the address serverIp;
// false when openssl fails.
bool MakeTestCertificates(
    const QString& folder, TTestCertificates& certificates, const QString& serverIp = QStringLiteral("127.0.0.1"));

// Points SSL_CERT_FILE at a file (the system store for a fresh TLS context) for its lifetime.
class TScopedCertStore {
public:
    explicit TScopedCertStore(const QString& file);
    ~TScopedCertStore();
    TScopedCertStore(const TScopedCertStore&) = delete;
    TScopedCertStore& operator=(const TScopedCertStore&) = delete;

private:
    QByteArray previous_;
};
