#include "tests/support/tlscerts.h"

#include <QDir>
#include <QFile>
#include <QProcess>

namespace {

bool OpenSsl(const QStringList& arguments)
{
    QProcess openssl;
    openssl.start(QStringLiteral("openssl"), arguments);
    return openssl.waitForFinished(60000) && openssl.exitStatus() == QProcess::NormalExit && openssl.exitCode() == 0;
}

} // namespace

bool MakeTestCertificates(const QString& folder, TTestCertificates& certificates, const QString& serverIp)
{
    const QDir dir(folder);
    const QString caKey = dir.filePath("ca.key"), serverKey = dir.filePath("server.key");
    const QString request = dir.filePath("server.csr"), serverCert = dir.filePath("server.crt");
    const QString extensions = dir.filePath("server.ext");
    certificates.caFile = dir.filePath("ca.pem");
    certificates.serverPem = dir.filePath("server.pem");

    QFile ext(extensions);
    if (!ext.open(QIODevice::WriteOnly) || ext.write("subjectAltName=IP:" + serverIp.toLatin1() + "\n") < 0)
        return false;
    ext.close();
    if (!OpenSsl({ "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "1", "-subj", "/CN=Vendaro Test CA",
            "-keyout", caKey, "-out", certificates.caFile })
        || !OpenSsl({ "req", "-newkey", "rsa:2048", "-nodes", "-subj", "/CN=" + serverIp, "-keyout", serverKey, "-out",
            request })
        || !OpenSsl({ "x509", "-req", "-in", request, "-CA", certificates.caFile, "-CAkey", caKey, "-CAcreateserial",
            "-days", "1", "-extfile", extensions, "-out", serverCert }))
        return false;

    QFile pem(certificates.serverPem);
    QFile cert(serverCert), key(serverKey);
    if (!pem.open(QIODevice::WriteOnly) || !cert.open(QIODevice::ReadOnly) || !key.open(QIODevice::ReadOnly))
        return false;
    return pem.write(cert.readAll() + key.readAll()) > 0;
}

TScopedCertStore::TScopedCertStore(const QString& file)
    : previous_(qgetenv("SSL_CERT_FILE"))
{
    qputenv("SSL_CERT_FILE", file.toLocal8Bit());
}

TScopedCertStore::~TScopedCertStore()
{
    if (previous_.isEmpty())
        qunsetenv("SSL_CERT_FILE");
    else
        qputenv("SSL_CERT_FILE", previous_);
}
