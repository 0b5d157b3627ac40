// FTP over TLS against real servers: pyftpdlib's TLS handler and ProFTPD, which refuses data
// connections that do not reuse the control connection's TLS session. The servers' certificates
// come from a throw-away authority that SSL_CERT_FILE makes the system store.
#include "net/ftpclient.h"

#include "tests/support/demolab.h"
#include "tests/support/ftpserver.h"
#include "tests/support/proftpd.h"
#include "tests/support/testsupport.h"
#include "tests/support/tlscerts.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace {

// Upload, resumed upload, size, listing and download, with the server's copy at folder.
void TransferEverything(TFtpClient& client, const QString& folder)
{
    QTemporaryDir local;
    const QString source = local.filePath("photo.jpg");
    const qint64 size = (qint64(3) << 20) + 17;
    ASSERT_TRUE(WritePatternFile(source, size));
    ASSERT_TRUE(FtpSucceeded(client.Put(source, "a.jpg")));
    EXPECT_EQ(ReadFileBytes(folder + "/a.jpg"), ReadFileBytes(source));

    // What a broken upload left: the first bytes. The rest goes on after them.
    const QByteArray whole = ReadFileBytes(source);
    ASSERT_TRUE(WriteFileBytes(folder + "/b.jpg", whole.left(1000003)));
    QList<qint64> counts;
    client.SetWorkListener({ {}, [&counts](qint64 count) { counts << count; }, {} });
    ASSERT_TRUE(FtpSucceeded(client.Put(source, "b.jpg", 1000003)));
    client.SetWorkListener({});
    EXPECT_EQ(ReadFileBytes(folder + "/b.jpg"), whole);
    ASSERT_FALSE(counts.isEmpty());
    EXPECT_GT(counts.front(), 1000003); // the work events count the position in the file
    EXPECT_EQ(counts.back(), size);

    std::optional<qint64> remoteSize;
    ASSERT_TRUE(FtpSucceeded(client.Size("b.jpg", &remoteSize)));
    EXPECT_EQ(remoteSize, size);
    QList<TFtpListItem> items;
    ASSERT_TRUE(FtpSucceeded(client.List(&items)));
    EXPECT_EQ(items.size(), 2);
    const QString copy = local.filePath("copy.jpg");
    ASSERT_TRUE(FtpSucceeded(client.Get("a.jpg", copy)));
    EXPECT_EQ(ReadFileBytes(copy), whole);
}

void ExpectProtected(const TFtpSecurity& security)
{
    EXPECT_TRUE(security.control);
    EXPECT_TRUE(security.data);
    EXPECT_TRUE(security.protocol.startsWith("TLSv1.")) << security.protocol.toStdString();
    EXPECT_TRUE(security.subject.contains("CN=127.0.0.1")) << security.subject.toStdString();
    EXPECT_TRUE(security.plainReason.isEmpty());
}

// The demo lab's FTP server offering TLS with a certificate the store trusts.
struct TlsLab {
    QTemporaryDir dir;
    TTestCertificates certificates;
    bool made = MakeTestCertificates(dir.path(), certificates);
    TScopedCertStore store { certificates.caFile };
    TFtpServer server { { "--ftp-tls-cert", certificates.serverPem } };
};

TEST(FtpTls, PyftpdlibProtectsControlAndData)
{
    TlsLab lab;
    ASSERT_TRUE(lab.made);
    ASSERT_TRUE(lab.server.Started());
    TFtpClient client;
    client.Settings() = lab.server.Settings();
    client.Settings().tls = TFtpTls::Required;
    client.Settings().passive = false; // TLS data connections are passive all the same
    ASSERT_TRUE(lab.server.Open(client));
    ExpectProtected(client.Security());
    EXPECT_TRUE(client.Features().restStream);
    TransferEverything(client, lab.server.Orders());
    client.Disconnect();
}

TEST(FtpTls, ProftpdDemandsTheReusedSessionAndGetsIt)
{
    TProftpd proftpd;
    ASSERT_TRUE(proftpd.Installed()) << "scripts/install-deps installs proftpd-core";
    ASSERT_TRUE(proftpd.Started());
    const TScopedCertStore store(proftpd.CaFile());
    TFtpClient client;
    client.Settings() = proftpd.Settings();
    ASSERT_TRUE(FtpSucceeded(client.Connect()));
    ASSERT_TRUE(FtpSucceeded(client.Login()));
    ExpectProtected(client.Security());
    TransferEverything(client, proftpd.Root());
    EXPECT_TRUE(client.Security().dataSessionReused);
    EXPECT_FALSE(proftpd.TlsLog().contains("did not reuse")) << proftpd.TlsLog().toStdString();
    client.Disconnect();
}

// A server that greets, refuses every command with 500 and keeps what the client sent.
class RefusingServer {
public:
    RefusingServer()
    {
        listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
        port_ = BindLoopback(listener_);
        ::listen(listener_, 1);
        thread_ = std::thread([this] { Serve(); });
    }
    ~RefusingServer()
    {
        ::shutdown(listener_, SHUT_RDWR);
        if (thread_.joinable())
            thread_.join();
        ::close(listener_);
    }
    int Port() const { return port_; }
    // Everything the client sent before it closed the connection (waits for that).
    QByteArray Received()
    {
        if (thread_.joinable())
            thread_.join();
        return received_;
    }

private:
    void Serve()
    {
        const int client = ::accept(listener_, nullptr, nullptr);
        if (client < 0)
            return;
        ::send(client, "220 ready\r\n", 11, MSG_NOSIGNAL);
        char buffer[4096];
        for (;;) {
            const ssize_t count = ::recv(client, buffer, sizeof buffer, 0);
            if (count <= 0)
                break;
            received_.append(buffer, qsizetype(count));
            for (qsizetype n = received_.count('\n'); n > 0; --n)
                ::send(client, "500 no\r\n", 8, MSG_NOSIGNAL);
        }
        ::close(client);
    }

    int listener_ = -1;
    int port_ = 0;
    std::thread thread_;
    QByteArray received_;
};

TEST(FtpTls, RequiredSendsNothingBeyondAuthTlsToAServerWithoutIt)
{
    TFtpSettings settings;
    settings.host = QStringLiteral("127.0.0.1");
    settings.user = QStringLiteral("lab");
    settings.password = QStringLiteral("sekret");
    settings.readTimeoutMs = 5000;
    settings.tls = TFtpTls::Required;
    {
        RefusingServer server;
        TFtpClient client;
        client.Settings() = settings;
        client.Settings().port = server.Port();
        ASSERT_TRUE(FtpSucceeded(client.Connect()));
        EXPECT_EQ(client.Login().errorClass, TFtpError::TlsRequired);
        EXPECT_FALSE(client.Connected());
        client.Disconnect();
        EXPECT_EQ(server.Received(), "AUTH TLS\r\n");
    }
    // Proxy methods that name the server in USER cannot carry TLS: nothing is sent at all.
    for (const TFtpProxyType method : { TFtpProxyType::UserSite, TFtpProxyType::UserPass }) {
        RefusingServer proxy;
        TFtpClient client;
        client.Settings() = settings;
        client.Settings().useProxy = true;
        client.Settings().proxyHost = QStringLiteral("127.0.0.1");
        client.Settings().proxyPort = proxy.Port();
        client.Settings().proxyType = int(method);
        ASSERT_TRUE(FtpSucceeded(client.Connect()));
        EXPECT_EQ(client.Login().errorClass, TFtpError::TlsProxy);
        client.Disconnect();
        EXPECT_EQ(proxy.Received(), "");
    }
}

TEST(FtpTls, WhenOfferedGoesOnInPlainTextAndSaysWhy)
{
    TFtpServer server; // no certificate: no AUTH TLS
    ASSERT_TRUE(server.Started());
    TFtpClient client;
    client.Settings() = server.Settings();
    client.Settings().tls = TFtpTls::WhenOffered;
    ASSERT_TRUE(server.Open(client));
    EXPECT_FALSE(client.Security().control);
    EXPECT_TRUE(client.Security().plainReason.contains("offers no TLS"));
    QTemporaryDir local;
    ASSERT_TRUE(WritePatternFile(local.filePath("a.jpg"), 1000));
    EXPECT_TRUE(FtpSucceeded(client.Put(local.filePath("a.jpg"), "a.jpg")));
    client.Disconnect();
}

TEST(FtpTls, UntrustedOrMisnamedCertificatesStopBeforeTheLogin)
{
    QTemporaryDir dir;
    TTestCertificates trusted, misnamed;
    ASSERT_TRUE(MakeTestCertificates(dir.filePath("."), trusted));
    QDir(dir.path()).mkpath("other");
    ASSERT_TRUE(MakeTestCertificates(dir.filePath("other"), misnamed, QStringLiteral("127.0.0.2")));
    struct Case {
        const char* what;
        QString serverPem;
        QString store;
    };
    for (const Case& c : { Case { "authority not trusted", trusted.serverPem, misnamed.caFile },
             Case { "made out to another address", misnamed.serverPem, misnamed.caFile } }) {
        SCOPED_TRACE(c.what);
        const TScopedCertStore store(c.store);
        TFtpServer server({ "--ftp-tls-cert", c.serverPem });
        ASSERT_TRUE(server.Started());
        TFtpClient client;
        client.Settings() = server.Settings();
        client.Settings().tls = TFtpTls::WhenOffered; // a bad certificate is never a reason for plain text
        ASSERT_TRUE(FtpSucceeded(client.Connect()));
        EXPECT_EQ(client.Login().errorClass, TFtpError::Tls);
        EXPECT_FALSE(client.Connected());
        EXPECT_FALSE(server.Lab().Output().contains("FTP LOGIN"));
    }
}

// The proxy logs in to itself, then relays the connection to the server, TLS included.
TEST(FtpTls, SiteAndOpenProxyMethodsCarryTlsToTheServer)
{
    TlsLab lab;
    ASSERT_TRUE(lab.made);
    ASSERT_TRUE(lab.server.Started());
    for (const TFtpProxyType method : { TFtpProxyType::Site, TFtpProxyType::Open }) {
        TFtpClient client;
        client.Settings() = lab.server.Settings();
        client.Settings().tls = TFtpTls::Required;
        client.Settings().useProxy = true;
        client.Settings().proxyHost = QStringLiteral("127.0.0.1");
        client.Settings().proxyPort = lab.server.Lab().FtpProxyPort();
        client.Settings().proxyUser = QString::fromLatin1(TFtpServer::kProxyUser);
        client.Settings().proxyPassword = QString::fromLatin1(TFtpServer::kProxyPassword);
        client.Settings().proxyType = int(method);
        ASSERT_TRUE(lab.server.Open(client));
        ExpectProtected(client.Security());
        QList<TFtpListItem> items;
        EXPECT_TRUE(FtpSucceeded(client.List(&items)));
        client.Disconnect();
    }
}

} // namespace
