#include "net/quietget.h"

#include "core/core.h"
#include "core/coreobjects.h"
#include "core/log.h"
#include "lab/vdengine.h"
#include "tests/support/demolab.h"
#include "tests/support/realproxies.h"
#include "tests/support/testsupport.h"
#include "tests/support/tlscerts.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// The lab's account and the user's settings as Core() hands them to QuietGetHTTP.
class QuietGetTest : public testing::Test {
protected:
    void SetUp() override
    {
        LogStore().Clear();
        engine_.user = QStringLiteral("labuser");
        engine_.pass = QStringLiteral("tajne hasło");
        Core().engine = &engine_;
        Core().config = &config_;
        WriteFileBytes(www_.filePath("settings.ini"), "[engine]\r\noutputdpi=300\r\n");
        lab_ = std::make_unique<TDemoLab>(www_.path(),
            QStringList { "--no-ftp", "--user", "labuser", "--password", QStringLiteral("tajne hasło"), "--status",
                "/gone.ini=404", "--delay", "/slow.ini=2000" });
        ASSERT_TRUE(lab_->Started());
    }
    void TearDown() override
    {
        Core().engine = nullptr;
        Core().config = nullptr;
    }
    QString Target() const { return app_.Path("engine_settmp.ini"); }

    ScopedAppDir app_;
    QTemporaryDir www_;
    TEngine engine_;
    TConfig config_;
    std::unique_ptr<TDemoLab> lab_;
};

TEST_F(QuietGetTest, FetchesWithTheLabsCredentials)
{
    ASSERT_TRUE(QuietGetHTTP(lab_->Url("/settings.ini"), Target()));
    EXPECT_EQ(ReadFileBytes(Target()), "[engine]\r\noutputdpi=300\r\n");
    EXPECT_TRUE(LogHasLine("QuietGetHTTP from " + lab_->Url("/settings.ini") + " to " + Target(), 0));

    engine_.pass = QStringLiteral("tajne haslo");
    EXPECT_FALSE(QuietGetHTTP(lab_->Url("/settings.ini"), Target()));
    EXPECT_TRUE(LogHasLine(QStringLiteral("Transfer failed: EHttpStatus:HTTP/1.1 401 Unauthorized"), 3));
    EXPECT_FALSE(QFile::exists(Target()));
}

TEST_F(QuietGetTest, FailureDeletesAnEarlierTarget)
{
    WriteFileBytes(Target(), "stale");
    EXPECT_FALSE(QuietGetHTTP(lab_->Url("/gone.ini"), Target()));
    EXPECT_FALSE(QFile::exists(Target()));
    EXPECT_TRUE(LogHasLine(QStringLiteral("Transfer failed: EHttpStatus:HTTP/1.1 404 Not Found"), 3));

    config_.timout = 300;
    WriteFileBytes(Target(), "stale");
    EXPECT_FALSE(QuietGetHTTP(lab_->Url("/slow.ini"), Target()));
    EXPECT_FALSE(QFile::exists(Target()));
    EXPECT_TRUE(LogHasLine(QStringLiteral("Transfer failed: ETimeout:Timeout"), 3));
}

// A stored time-out of 0 would reach the client as 1 ms (or as no time-out at all).
TEST_F(QuietGetTest, TimeOutOfZeroWaitsTheBuiltInTime)
{
    WriteFileBytes(www_.filePath("slow.ini"), "[engine]\r\n");
    config_.timout = 0;
    ASSERT_TRUE(QuietGetHTTP(lab_->Url("/slow.ini"), Target()));
    EXPECT_EQ(ReadFileBytes(Target()), "[engine]\r\n");
    EXPECT_TRUE(LogHasLine(QStringLiteral("Config: net/timout=0 is not a time-out; 30000 ms used"), 2));
}

TEST_F(QuietGetTest, ProxyPortOfLettersKeepsThePreviousPort)
{
    config_.useproxy = true;
    config_.proxy_host = QStringLiteral("127.0.0.1");
    config_.proxy_port = QString::number(lab_->HttpPort());
    const QString viaProxy = QStringLiteral("http://lab.invalid/settings.ini");
    ASSERT_TRUE(QuietGetHTTP(viaProxy, Target()));
    EXPECT_TRUE(LogHasLine("Using proxy: 127.0.0.1:" + config_.proxy_port, 0));

    config_.proxy_port = QStringLiteral("abc");
    EXPECT_TRUE(QuietGetHTTP(viaProxy, Target()));
    EXPECT_TRUE(LogHasLine(QStringLiteral("Using proxy: 127.0.0.1:abc"), 0));
    EXPECT_TRUE(LogHasLine(QStringLiteral("Proxy Port not integer !"), 3));

    config_.useproxy = false; // off takes effect at once
    LogStore().Clear();
    EXPECT_FALSE(QuietGetHTTP(viaProxy, Target()));
    EXPECT_FALSE(LogHasLine(QStringLiteral("Using proxy: 127.0.0.1:abc")));
}

// The user's proxy is tinyproxy, which serves only requests carrying its own account; the lab
// still asks for the lab's account behind it.
class QuietGetProxyTest : public QuietGetTest {
protected:
    void SetUp() override
    {
        QuietGetTest::SetUp();
        proxy_ = TRealProxy::Tinyproxy(QStringLiteral("gosc"), QStringLiteral("przepustka"));
        REQUIRE_INSTALLED(proxy_->Installed(), "tinyproxy");
        ASSERT_TRUE(proxy_->Started());
        config_.useproxy = true;
        config_.proxy_host = QStringLiteral("127.0.0.1");
        config_.proxy_port = QString::number(proxy_->Port());
        config_.proxy_login = QStringLiteral("gosc");
    }

    std::unique_ptr<TRealProxy> proxy_;
};

TEST_F(QuietGetProxyTest, AuthenticatingProxyPassesOnlyItsOwnAccount)
{
    const QString url = lab_->Url("/settings.ini");
    const struct {
        const char* password;
        bool fetched;
    } cases[] = { { "przepustka", true }, { "przepustka2", false }, { "", false } };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.password);
        LogStore().Clear();
        WriteFileBytes(Target(), "stale");
        config_.proxy_pass = QString::fromLatin1(c.password);
        EXPECT_EQ(QuietGetHTTP(url, Target()), c.fetched);
        EXPECT_TRUE(LogHasLine("Using proxy: 127.0.0.1:" + config_.proxy_port, 0));
        if (c.fetched) {
            EXPECT_EQ(ReadFileBytes(Target()), "[engine]\r\noutputdpi=300\r\n");
        } else {
            EXPECT_FALSE(QFile::exists(Target()));
            EXPECT_TRUE(LogHasLine(QStringLiteral("Transfer failed: EHttpStatus:HTTP/1.1 401 Unauthorized"), 3));
        }
    }
    EXPECT_TRUE(proxy_->Log().contains("GET " + url)) << proxy_->Log().toStdString();
    EXPECT_EQ(lab_->Output().count("HTTP GET /settings.ini -> 200"), 1) << "the proxy stopped the others";
}

// An https:// address goes through the proxy as a CONNECT tunnel: the proxy sees only the
// host and port, the certificate is checked against the lab's own address.
TEST_F(QuietGetProxyTest, HttpsGoesThroughTheProxyAsATunnel)
{
    QTemporaryDir certs;
    TTestCertificates certificates;
    ASSERT_TRUE(MakeTestCertificates(certs.path(), certificates));
    const TDemoLab tls(www_.path(),
        { "--no-ftp", "--user", "labuser", "--password", QStringLiteral("tajne hasło"), "--tls-cert",
            certificates.serverPem });
    ASSERT_TRUE(tls.Started());
    const TScopedCertStore store(certificates.caFile);
    const QString hostPort = QStringLiteral("127.0.0.1:%1").arg(tls.HttpPort());
    const QString url = "https://" + hostPort + "/settings.ini";

    config_.proxy_pass = QStringLiteral("przepustka");
    ASSERT_TRUE(QuietGetHTTP(url, Target()));
    EXPECT_EQ(ReadFileBytes(Target()), "[engine]\r\noutputdpi=300\r\n");
    EXPECT_TRUE(proxy_->Log().contains("CONNECT " + hostPort)) << proxy_->Log().toStdString();
    EXPECT_FALSE(proxy_->Log().contains("/settings.ini")) << "the request itself travels encrypted";

    config_.proxy_pass = QStringLiteral("zle");
    EXPECT_FALSE(QuietGetHTTP(url, Target()));
    EXPECT_FALSE(QFile::exists(Target()));
    EXPECT_TRUE(LogHasLine(
        QStringLiteral("Transfer failed: EConnection:HTTP Exception: Cannot establish proxy connection: Unauthorized"),
        3));
}

} // namespace
