#include "net/ftpclient.h"

#include "tests/support/demolab.h"
#include "tests/support/ftpserver.h"
#include "tests/support/realproxies.h"
#include "tests/support/testsupport.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <atomic>
#include <netinet/in.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace {

// Puts source as name and checks that SIZE and the listing show it whole.
void PutAndCheck(TFtpClient& client, const QString& source, const QString& name)
{
    const qint64 size = QFileInfo(source).size();
    ASSERT_TRUE(FtpSucceeded(client.Put(source, name)));
    std::optional<qint64> remoteSize;
    ASSERT_TRUE(FtpSucceeded(client.Size(name, &remoteSize)));
    EXPECT_EQ(remoteSize, size);
    QList<TFtpListItem> items;
    ASSERT_TRUE(FtpSucceeded(client.List(&items)));
    EXPECT_EQ(items, (QList<TFtpListItem> { { name, TFtpItemKind::File, size } }));
}

// The work events as the caller's thread sees them.
struct RecordedWork {
    QList<qint64> begins;
    QList<qint64> counts;
    int ends = 0;
    bool onCallerThread = true;

    TFtpWorkListener Listener()
    {
        QThread* caller = QThread::currentThread();
        return { [this, caller](qint64 total) {
                    begins << total;
                    onCallerThread &= QThread::currentThread() == caller;
                },
            [this, caller](qint64 count) {
                counts << count;
                onCallerThread &= QThread::currentThread() == caller;
            },
            [this] { ++ends; } };
    }
};

class FtpClientModes : public testing::TestWithParam<bool> { }; // passive or active data connections

TEST_P(FtpClientModes, PutSizeListGetDeleteRoundTrip)
{
    TFtpServer server;
    ASSERT_TRUE(server.Started());
    QTemporaryDir local;
    const QString source = local.filePath("Source.JPG");
    const qint64 size = (qint64(3) << 20) + 17; // more than one chunk, not a whole number of them
    ASSERT_TRUE(WritePatternFile(source, size));

    TFtpClient client;
    client.Settings() = server.Settings();
    client.Settings().passive = GetParam();
    ASSERT_TRUE(server.Open(client));
    RecordedWork work;
    client.SetWorkListener(work.Listener());

    ASSERT_TRUE(FtpSucceeded(client.Put(source, "a_00001.jpg")));
    EXPECT_EQ(ReadFileBytes(server.Orders("a_00001.jpg")), ReadFileBytes(source));
    EXPECT_EQ(work.begins, QList<qint64> { size });
    ASSERT_FALSE(work.counts.isEmpty());
    EXPECT_EQ(work.counts.back(), size); // true byte counts, the whole file at the end
    EXPECT_TRUE(std::is_sorted(work.counts.begin(), work.counts.end()));
    EXPECT_EQ(work.ends, 1);
    EXPECT_TRUE(work.onCallerThread);
    EXPECT_TRUE(client.LastReply().startsWith("226"));

    // Put replaces a remote file of that name.
    ASSERT_TRUE(WritePatternFile(source, 10));
    PutAndCheck(client, source, "a_00001.jpg");

    const QString copy = local.filePath("copy.jpg");
    work = {};
    client.SetWorkListener(work.Listener());
    ASSERT_TRUE(FtpSucceeded(client.Get("a_00001.jpg", copy)));
    EXPECT_EQ(ReadFileBytes(copy), ReadFileBytes(source));
    EXPECT_EQ(work.begins, QList<qint64> { 10 });
    EXPECT_EQ(work.counts.back(), 10);

    ASSERT_TRUE(FtpSucceeded(client.Delete("a_00001.jpg")));
    EXPECT_TRUE(client.LastReply().startsWith("250"));
    EXPECT_FALSE(QFile::exists(server.Orders("a_00001.jpg")));
    client.Disconnect();
    EXPECT_FALSE(client.Connected());
    EXPECT_EQ(client.Put(source, "b.jpg").errorClass, TFtpError::NotConnected);
}

INSTANTIATE_TEST_SUITE_P(DataConnections, FtpClientModes, testing::Values(true, false),
    [](const testing::TestParamInfo<bool>& mode) { return mode.param ? "Passive" : "Active"; });

// A refused command is an error with the server's reply; the connection goes on.
TEST(FtpClient, RefusedCommandsKeepTheConnection)
{
    TFtpServer server;
    ASSERT_TRUE(server.Started());
    QTemporaryDir local;
    TFtpClient client;
    client.Settings() = server.Settings();
    ASSERT_TRUE(server.Open(client));

    const TFtpResult cd = client.ChangeDir("/missing");
    EXPECT_EQ(cd.errorClass, TFtpError::FtpReply);
    EXPECT_TRUE(cd.message.startsWith("Cannot change directory to /missing: 550"));
    EXPECT_TRUE(client.LastReply().startsWith("550"));

    std::optional<qint64> size = 1;
    EXPECT_EQ(client.Size("missing.jpg", &size).errorClass, TFtpError::FtpReply);
    EXPECT_EQ(size, std::nullopt);

    // A failed download leaves the local file as it was, and no temporary file beside it.
    const QString target = local.filePath("kept.txt");
    WriteFileBytes(target, "before");
    EXPECT_EQ(client.Get("missing.jpg", target).errorClass, TFtpError::FtpReply);
    EXPECT_EQ(ReadFileBytes(target), "before");
    EXPECT_EQ(QDir(local.path()).entryList(QDir::Files), QStringList { "kept.txt" });

    EXPECT_EQ(client.Put(local.filePath("absent.jpg"), "a.jpg").errorClass, TFtpError::File);
    // A name with a line break would smuggle a second command onto the control connection.
    EXPECT_EQ(client.Delete("a.jpg\r\nDELE other.jpg").errorClass, TFtpError::Name);

    EXPECT_TRUE(client.Connected());
    EXPECT_TRUE(FtpSucceeded(client.ChangeDir("/")));

    TFtpClient stranger;
    stranger.Settings() = server.Settings();
    stranger.Settings().password = "wrong";
    ASSERT_TRUE(FtpSucceeded(stranger.Connect()));
    const TFtpResult login = stranger.Login();
    EXPECT_EQ(login.errorClass, TFtpError::FtpReply);
    EXPECT_TRUE(login.message.startsWith("Login denied: 530"));
}

// Sizes and listings beyond 32 bits (a sparse file on the server's disk).
TEST(FtpClient, SizesAbove4GiB)
{
    TFtpServer server;
    ASSERT_TRUE(server.Started());
    const qint64 size = (qint64(5) << 30) + 3;
    QFile big(server.Orders("big.zip"));
    ASSERT_TRUE(big.open(QIODevice::WriteOnly) && big.resize(size));
    big.close();
    TFtpClient client;
    client.Settings() = server.Settings();
    ASSERT_TRUE(server.Open(client));
    std::optional<qint64> remoteSize;
    ASSERT_TRUE(FtpSucceeded(client.Size("big.zip", &remoteSize)));
    EXPECT_EQ(remoteSize, size);
    QList<TFtpListItem> items;
    ASSERT_TRUE(FtpSucceeded(client.List(&items)));
    EXPECT_EQ(items, (QList<TFtpListItem> { { "big.zip", TFtpItemKind::File, size } }));
}

// Abort ends a transfer at once; the control connection stays usable.
TEST(FtpClient, AbortEndsTheTransferAndKeepsTheConnection)
{
    TFtpServer server;
    ASSERT_TRUE(server.Started());
    QTemporaryDir local;
    const QString source = local.filePath("big.jpg");
    ASSERT_TRUE(WritePatternFile(source, qint64(64) << 20));
    TFtpClient client;
    client.Settings() = server.Settings();
    client.Settings().readTimeoutMs = 20000; // the server's answer to an aborted transfer, on a busy machine
    ASSERT_TRUE(server.Open(client));
    TFtpError nested = TFtpError::None;
    client.SetWorkListener({ [&](qint64) {
                                nested = client.Delete("other.jpg").errorClass; // the session is busy
                                client.Abort();
                            },
        {}, {} });

    EXPECT_EQ(client.Put(source, "big.jpg").errorClass, TFtpError::Cancelled);
    EXPECT_EQ(nested, TFtpError::Busy);
    ASSERT_TRUE(client.Connected());
    ASSERT_TRUE(FtpSucceeded(client.Delete("big.jpg")));

    client.SetWorkListener({});
    ASSERT_TRUE(FtpSucceeded(client.Put(source, "big.jpg")));
    client.SetWorkListener({ [&client](qint64) { client.Abort(); }, {}, {} });
    const QString target = local.filePath("copy.jpg");
    EXPECT_EQ(client.Get("big.jpg", target).errorClass, TFtpError::Cancelled);
    EXPECT_FALSE(QFile::exists(target));
    EXPECT_EQ(QDir(local.path()).entryList(QDir::Files), QStringList { "big.jpg" });
    EXPECT_TRUE(FtpSucceeded(client.Delete("big.jpg")));
}

// A loopback listener that accepts connections and then says nothing, or trickles its
// greeting one byte at a time.
class QuietServer {
public:
    explicit QuietServer(int trickleMs = 0)
        : trickleMs_(trickleMs)
    {
        fd_ = ::socket(AF_INET, SOCK_STREAM, 0);
        port_ = BindLoopback(fd_);
        ::listen(fd_, 4);
        if (trickleMs_ > 0)
            thread_ = std::thread([this] { Trickle(); });
    }
    ~QuietServer()
    {
        stop_ = true;
        ::shutdown(fd_, SHUT_RDWR);
        if (thread_.joinable())
            thread_.join();
        ::close(fd_);
    }
    int Port() const { return port_; }

private:
    void Trickle()
    {
        const int client = ::accept(fd_, nullptr, nullptr);
        if (client < 0)
            return;
        for (int i = 0; !stop_ && i < 1000; ++i) {
            if (::send(client, "2", 1, MSG_NOSIGNAL) != 1)
                break;
            std::this_thread::sleep_for(std::chrono::milliseconds(trickleMs_));
        }
        ::close(client);
    }

    int fd_ = -1;
    int port_ = 0;
    int trickleMs_;
    std::atomic<bool> stop_ { false };
    std::thread thread_;
};

TEST(FtpClient, SilentOrTricklingServersEndInATimeOut)
{
    struct Case {
        int trickleMs;
        const char* message;
    };
    for (const Case& c : { Case { 0, "Timeout" }, Case { 100, "Operation not finished within 1200 ms" } }) {
        SCOPED_TRACE(c.trickleMs);
        QuietServer quiet(c.trickleMs);
        TFtpClient client;
        client.Settings().host = "127.0.0.1";
        client.Settings().port = quiet.Port();
        client.Settings().readTimeoutMs = 300;
        QElapsedTimer timer;
        timer.start();
        const TFtpResult result = client.Connect();
        EXPECT_EQ(result.errorClass, TFtpError::Timeout);
        EXPECT_EQ(result.message, c.message);
        EXPECT_LT(timer.elapsed(), 5000);
        EXPECT_FALSE(client.Connected());
    }
}

TEST(FtpClient, NothingListeningOrUnknownProxyTypeFails)
{
    TFtpClient client;
    client.Settings().host = "127.0.0.1";
    client.Settings().port = FreeLoopbackPort();
    EXPECT_EQ(client.Connect().errorClass, TFtpError::Connection);
    client.Settings().useProxy = true;
    client.Settings().proxyType = 7;
    EXPECT_EQ(client.Connect().errorClass, TFtpError::ProxyType);
    EXPECT_FALSE(client.Connected());
}

// Every proxy login method through the demo lab's proxy, on both kinds of data connection.
class FtpProxyTypes : public testing::TestWithParam<TFtpProxyType> { };

TEST_P(FtpProxyTypes, LogInAndTransferThroughTheProxy)
{
    TFtpServer server;
    ASSERT_TRUE(server.Started());
    QTemporaryDir local;
    const QString source = local.filePath("a.jpg");
    ASSERT_TRUE(WritePatternFile(source, 100000));
    for (const bool passive : { true, false }) {
        SCOPED_TRACE(passive);
        TFtpClient client;
        client.Settings() = server.Settings();
        client.Settings().passive = passive;
        client.Settings().useProxy = true;
        client.Settings().proxyHost = "127.0.0.1";
        client.Settings().proxyPort = server.Lab().FtpProxyPort();
        client.Settings().proxyType = int(GetParam());
        client.Settings().proxyUser = TFtpServer::kProxyUser;
        client.Settings().proxyPassword = TFtpServer::kProxyPassword;
        ASSERT_TRUE(server.Open(client));
        PutAndCheck(client, source, "a.jpg");
        client.Disconnect();
    }
    const char* methods[] = { "", "USER user@host", "SITE", "OPEN", "USER user@proxyuser@host" };
    EXPECT_TRUE(server.Lab().WaitForOutput(
        QStringLiteral("FTP PROXY %1 -> 127.0.0.1:%2").arg(methods[int(GetParam())]).arg(server.Port())));

    if (GetParam() == TFtpProxyType::Site || GetParam() == TFtpProxyType::UserPass) {
        TFtpClient refused;
        refused.Settings() = server.Settings();
        refused.Settings().useProxy = true;
        refused.Settings().proxyHost = "127.0.0.1";
        refused.Settings().proxyPort = server.Lab().FtpProxyPort();
        refused.Settings().proxyType = int(GetParam());
        refused.Settings().proxyUser = TFtpServer::kProxyUser;
        refused.Settings().proxyPassword = "wrong";
        ASSERT_TRUE(FtpSucceeded(refused.Connect()));
        EXPECT_EQ(refused.Login().errorClass, TFtpError::FtpReply);
    }
}

INSTANTIATE_TEST_SUITE_P(Methods, FtpProxyTypes,
    testing::Values(TFtpProxyType::UserSite, TFtpProxyType::Site, TFtpProxyType::Open, TFtpProxyType::UserPass));

// USER user@host through Debian's ftp-proxy, which knows neither FEAT nor MLSD: the listing
// falls back to LIST.
TEST(FtpClient, UserAtHostThroughDebiansFtpProxy)
{
    const std::unique_ptr<TRealProxy> proxy = TRealProxy::FtpProxy();
    REQUIRE_INSTALLED(proxy->Installed(), "ftp-proxy");
    ASSERT_TRUE(proxy->Started());
    TFtpServer server;
    ASSERT_TRUE(server.Started());
    QTemporaryDir local;
    const QString source = local.filePath("a.jpg");
    ASSERT_TRUE(WritePatternFile(source, 200000));
    TFtpClient client;
    client.Settings() = server.Settings();
    client.Settings().passive = true;
    client.Settings().useProxy = true;
    client.Settings().proxyHost = "127.0.0.1";
    client.Settings().proxyPort = proxy->Port();
    client.Settings().proxyType = int(TFtpProxyType::UserSite);
    ASSERT_TRUE(FtpSucceeded(client.Connect()));
    ASSERT_TRUE(FtpSucceeded(client.Login()));
    ASSERT_TRUE(FtpSucceeded(client.ChangeDir("/orders")));
    PutAndCheck(client, source, "a.jpg");
    client.Disconnect();
    EXPECT_EQ(ReadFileBytes(server.Orders("a.jpg")), ReadFileBytes(source));
}

} // namespace
