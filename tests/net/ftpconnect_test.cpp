#include "net/ftpconnect.h"

#include "core/core.h"
#include "core/coreobjects.h"
#include "core/log.h"
#include "lab/vdengine.h"
#include "tests/support/ftpserver.h"
#include "tests/support/testsupport.h"

#include <gtest/gtest.h>

namespace {

QStringList LogLines()
{
    return LogStore().Lines();
}

// The lab's account and the user's settings as Core() hands them to ConnectFtp.
class ConnectFtpTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(server_.Started());
        LogStore().Clear();
        engine_.host = QStringLiteral("127.0.0.1:%1").arg(server_.Port());
        engine_.user = TFtpServer::kUser;
        engine_.pass = TFtpServer::kPassword;
        config_.timout = 5000;
        Core().engine = &engine_;
        Core().config = &config_;
    }
    void TearDown() override
    {
        Core().engine = nullptr;
        Core().config = nullptr;
    }
    void UseProxy(const QString& port)
    {
        config_.useproxy = true;
        config_.proxy_host = QStringLiteral("127.0.0.1");
        config_.proxy_port = port;
        config_.proxy_ftp_type = int(TFtpProxyType::Site);
        config_.proxy_login = TFtpServer::kProxyUser;
        config_.proxy_pass = TFtpServer::kProxyPassword;
    }

    TFtpServer server_;
    TEngine engine_;
    TConfig config_;
};

TEST_F(ConnectFtpTest, LogsEveryStepAndEntersTheFolder)
{
    TFtpClient client;
    const TFtpConnectResult result = ConnectFtp(client, "/orders");
    ASSERT_TRUE(result.ok);
    EXPECT_TRUE(result.message.isEmpty());
    EXPECT_EQ(LogLines(),
        (QStringList { "Connecting \"" + engine_.host + "\" ...", "Connected.", "Attepting to login ...", "Logged in.",
            "Entering order directory (\"/orders\") ...", "FTP ready." }));
    for (int i = 0; i < LogStore().Levels().Count(); ++i)
        EXPECT_EQ(LogStore().Levels().Get(i), 0);
    EXPECT_EQ(client.Settings().host, "127.0.0.1");
    EXPECT_EQ(client.Settings().port, server_.Port());
    EXPECT_FALSE(client.Settings().passive);
    ASSERT_TRUE(client.Connected());
    ASSERT_TRUE(WritePatternFile(server_.Orders("x.jpg"), 5));
    std::optional<qint64> size;
    EXPECT_TRUE(client.Size("x.jpg", &size).ok); // in the folder
    EXPECT_EQ(size, 5);
}

TEST_F(ConnectFtpTest, EveryFailingStepGivesTheMessageAndClosesTheConnection)
{
    struct Case {
        const char* what;
        std::function<void(TEngine&)> spoil;
        const char* lastStep;
    };
    const Case cases[] = {
        { "nothing listening", [](TEngine& e) { e.host = QStringLiteral("127.0.0.1:%1").arg(FreeLoopbackPort()); },
            "Connecting" },
        { "wrong password", [](TEngine& e) { e.pass = "wrong"; }, "Attepting to login ..." },
        { "missing folder", [](TEngine&) {}, "Entering order directory (\"/nowhere\") ..." },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const QString host = engine_.host;
        const QString password = engine_.pass;
        c.spoil(engine_);
        LogStore().Clear();
        TFtpClient client;
        const TFtpConnectResult result = ConnectFtp(client, "/nowhere");
        engine_.host = host;
        engine_.pass = password;
        EXPECT_FALSE(result.ok);
        EXPECT_EQ(result.message, QStringLiteral("Nie udało się połączyć z serwerem FTP !"));
        const QStringList lines = LogLines();
        ASSERT_GE(lines.size(), 3);
        EXPECT_EQ(lines.back(), "FTP connection failed.");
        EXPECT_TRUE(lines[lines.size() - 2].startsWith("FTP ERROR: "));
        EXPECT_TRUE(lines[lines.size() - 3].startsWith(c.lastStep));
        EXPECT_FALSE(client.Connected());
    }
}

// A proxy port of letters is logged and the previous port kept; switching the proxy off takes
// effect at once.
TEST_F(ConnectFtpTest, ProxySettingsOnlyWhenUseProxyIsOn)
{
    TFtpClient client;
    UseProxy(QString::number(server_.Lab().FtpProxyPort()));
    ASSERT_TRUE(ConnectFtp(client, "/orders").ok);
    EXPECT_TRUE(LogHasLine("Using proxy: 127.0.0.1:" + config_.proxy_port, 0));
    EXPECT_TRUE(server_.Lab().WaitForOutput(QStringLiteral("FTP PROXY SITE -> 127.0.0.1:%1").arg(server_.Port())));
    client.Disconnect();

    UseProxy(QStringLiteral("abc"));
    LogStore().Clear();
    ASSERT_TRUE(ConnectFtp(client, "/orders").ok);
    EXPECT_TRUE(LogHasLine(QStringLiteral("Using proxy: 127.0.0.1:abc"), 0));
    EXPECT_TRUE(LogHasLine(QStringLiteral("Exception, proxy port not an integer"), 0));
    EXPECT_EQ(client.Settings().proxyPort, server_.Lab().FtpProxyPort());
    client.Disconnect();

    config_.useproxy = false;
    config_.passive = true;
    config_.timout = 0; // not a time-out: the built-in one
    LogStore().Clear();
    ASSERT_TRUE(ConnectFtp(client, "/orders").ok);
    EXPECT_FALSE(client.Settings().useProxy);
    EXPECT_TRUE(client.Settings().passive);
    EXPECT_EQ(client.Settings().readTimeoutMs, TFtpSettings::kDefaultTimeoutMs);
    for (const QString& line : LogLines())
        EXPECT_FALSE(line.startsWith("Using proxy: "));
}

TEST(FtpSettingsFor, TheLabsServerAndTheUsersConnection)
{
    TEngine engine;
    engine.host = "ftp.lab.pl:2121";
    engine.user = "lab";
    engine.pass = "haslo";
    engine.tls = 1;
    TConfig config;
    config.timout = 7000;
    config.passive = true;
    config.proxy_host = "proxy.lan";
    config.proxy_port = "3128";
    config.proxy_ftp_type = 2;
    config.proxy_login = "ja";
    config.proxy_pass = "tajne";

    config.useproxy = false;
    const TFtpSettings direct = FtpSettingsFor(engine, config);
    EXPECT_EQ(direct.host, "ftp.lab.pl");
    EXPECT_EQ(direct.port, 2121);
    EXPECT_EQ(direct.user, "lab");
    EXPECT_EQ(direct.password, "haslo");
    EXPECT_EQ(direct.readTimeoutMs, 7000);
    EXPECT_TRUE(direct.passive);
    EXPECT_EQ(direct.tls, TFtpTls::WhenOffered);
    EXPECT_FALSE(direct.useProxy);
    EXPECT_EQ(direct.proxyHost, "") << "the proxy fields stay empty while the proxy is off";

    config.useproxy = true;
    const TFtpSettings proxied = FtpSettingsFor(engine, config);
    EXPECT_TRUE(proxied.useProxy);
    EXPECT_EQ(proxied.proxyHost, "proxy.lan");
    EXPECT_EQ(proxied.proxyPort, 3128);
    EXPECT_EQ(proxied.proxyType, 2);
    EXPECT_EQ(proxied.proxyUser, "ja");
    EXPECT_EQ(proxied.proxyPassword, "tajne");
    config.proxy_port = "abc";
    EXPECT_EQ(FtpSettingsFor(engine, config).proxyPort, 0);
}

TEST(FtpHost, PortAfterTheHost)
{
    struct Case {
        const char* text;
        const char* host;
        int port;
    };
    for (const Case& c : { Case { "ftp.lab.pl", "ftp.lab.pl", 21 }, Case { "127.0.0.1:2121", "127.0.0.1", 2121 },
             Case { "ftp.lab.pl:abc", "ftp.lab.pl:abc", 21 }, Case { "::1", "::1", 21 } }) {
        TFtpSettings settings;
        settings.port = 99;
        SetFtpHost(settings, c.text);
        EXPECT_EQ(settings.host, c.host) << c.text;
        EXPECT_EQ(settings.port, c.port) << c.text;
    }
}

} // namespace
