#include "net/proxytest.h"

#include "core/core.h"
#include "core/coreobjects.h"
#include "lab/vdengine.h"
#include "tests/support/ftpserver.h"
#include "tests/support/realproxies.h"
#include "tests/support/testsupport.h"
#include "tests/support/tlscerts.h"

#include <QRegularExpression>

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <unistd.h>

namespace {

const QString kProxyUser = QStringLiteral("klient");
const QString kProxyPassword = QStringLiteral("tajne-proxy");
const QString kMakerPath = QStringLiteral("/strona-producenta");

const QString kHttpTesting = QStringLiteral("Testowanie połączenia HTTP (www) ...");
const QString kHttpFailed = QStringLiteral("Nie udało się nawiązać połączenia poprzez proxy !\rWiadomość: ");
const QString kNotInitialised = QStringLiteral(
    "Testowanie połączenia FTP (poprzez proxy) nie zostanie wykonane \rponieważ aplikacja nie jest zainicjowana.");
const QString kFtpConnected = QStringLiteral("Połączenie FTP powiodło się, testuję połączenie ...");
const QString kFtpOk = QStringLiteral("Połączenie FTP poprzez proxy wygląda OK !");
const QString kNoTransfer = QStringLiteral(
    "Serwer proxy pozwolił na połączenie ale NIE pozwolił na transfer. Ten typ serwera proxy nie jest obsługiwany.");
const QString kNoFtp = QStringLiteral(
    "Nie udało się nawiązać połączenia do serwera FTP poprzez proxy !\rJeśli wszystkie informacje zostały poprawnie "
    "podane, serwer proxy może nie obsługiwać połączeń FTP, może być niedostępny lub nie być obsługiwany przez ten "
    "program.");

QString Trying(int mode)
{
    return QStringLiteral("Testowanie serwera proxy do FTP (%1/5) ...").arg(mode + 1);
}

// What the settings window would show, in order.
struct Shown {
    QStringList http;
    QStringList ftp;
    QStringList errors;
    QStringList information;
    TProxyTestResult result;
};

Shown RunAndRecord(const TProxyTestInput& input, const QString& makerPage)
{
    Shown shown;
    const TProxyTestListener listener { [&](const QString& line) { shown.http << line; },
        [&](const QString& line) { shown.ftp << line; }, [&](const QString& text) { shown.errors << text; },
        [&](const QString& text) { shown.information << text; } };
    shown.result = RunProxyTest(input, listener, makerPage);
    return shown;
}

// Source ports that the lab's firewall lets through to its FTP server (see serve.py
// --ftp-only-from-ports): only the proxies connect from them. Below the ephemeral range and
// apart for each test process.
struct SourcePorts {
    int first = 20000 + int(::getpid() % 120) * 100;
    int last = first + 99;

    QStringList Firewall() const { return { "--ftp-only-from-ports", QStringLiteral("%1-%2").arg(first).arg(last) }; }
};

// The user's configuration and the lab's account as Core() hands them to the test, and the HTTP
// proxy every test goes through: tinyproxy with Basic authentication.
class ProxyTest : public testing::Test {
protected:
    void SetUp() override
    {
        tinyproxy_ = TRealProxy::Tinyproxy(kProxyUser, kProxyPassword);
        REQUIRE_INSTALLED(tinyproxy_->Installed(), "tinyproxy");
        ASSERT_TRUE(tinyproxy_->Started());
        config_.proxy_ftp_type = 7; // not a method the test stores
        Core().config = &config_;
    }
    void TearDown() override
    {
        Core().engine = nullptr;
        Core().config = nullptr;
    }

    // The lab's servers (started with switches; its FTP proxy takes the user's proxy account)
    // as the lab configuration names them.
    void StartLab(const QStringList& switches)
    {
        server_ = std::make_unique<TFtpServer>(switches
            + QStringList {
                "--status", kMakerPath + "=200", "--proxy-user", kProxyUser, "--proxy-password", kProxyPassword });
        ASSERT_TRUE(server_->Started());
        engine_.host = QStringLiteral("127.0.0.1:%1").arg(server_->Port());
        engine_.user = TFtpServer::kUser;
        engine_.pass = TFtpServer::kPassword;
        Core().engine = &engine_;
    }
    QString MakerPage() const { return server_->Lab().Url(kMakerPath); }
    TProxyTestInput Through(int port) const
    {
        return { QStringLiteral("127.0.0.1"), QString::number(port), kProxyUser, kProxyPassword };
    }
    // The demo lab's proxy as a gateway taking HTTP and FTP on one port: HTTP goes on to tinyproxy.
    QStringList Gateway() const { return { "--ftp-proxy-http", QString::number(tinyproxy_->Port()) }; }

    std::unique_ptr<TRealProxy> tinyproxy_;
    std::unique_ptr<TFtpServer> server_;
    TEngine engine_;
    TConfig config_;
};

// Checked before anything goes on the network.
TEST(ProxyTestInput, TypedHostAndPortAreCheckedFirst)
{
    const struct {
        const char* host;
        const char* port;
        QString error;
    } cases[] = {
        { "", "8080", "Podaj serwer proxy !" }, { "  ", "8080", "Podaj serwer proxy !" },
        { "", "abc", "Podaj serwer proxy !" }, // the host is checked first
        { "127.0.0.1", "", "Podaj prawidłowy port !" }, { "127.0.0.1", "80a", "Podaj prawidłowy port !" },
        { "127.0.0.1", "0", "Podaj prawidłowy port !" }, { "127.0.0.1", "-1", "Podaj prawidłowy port !" },
        { "127.0.0.1", "65536", "Podaj prawidłowy port !" }, // would reach the socket as port 0
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.host) + ":" + c.port);
        const Shown shown
            = RunAndRecord({ c.host, c.port, kProxyUser, kProxyPassword }, QStringLiteral("http://127.0.0.1:1/"));
        EXPECT_EQ(shown.errors, QStringList { c.error });
        EXPECT_TRUE(shown.http.isEmpty());
        EXPECT_TRUE(shown.ftp.isEmpty());
        EXPECT_FALSE(shown.result.tested);
    }
}

// The maker's page through tinyproxy: its Basic authentication decides. Without an FTP host
// the FTP step is skipped with the information and the proxy counts as tested.
TEST_F(ProxyTest, HttpStepThroughTinyproxyWithBasicAuthentication)
{
    StartLab({});
    engine_.host.clear();
    const struct {
        const char* what;
        QString login;
        QString password;
        bool passes;
    } cases[] = {
        { "right credentials", kProxyUser, kProxyPassword, true },
        { "wrong password", kProxyUser, QStringLiteral("tajne"), false },
        { "no credentials", {}, {}, false },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TProxyTestInput input = Through(tinyproxy_->Port());
        input.login = c.login;
        input.password = c.password;
        input.port = " " + input.port; // as typed, with a space before it
        const Shown shown = RunAndRecord(input, MakerPage());
        EXPECT_TRUE(shown.ftp.isEmpty());
        EXPECT_EQ(config_.proxy_ftp_type, 7);
        EXPECT_EQ(shown.result.ftpMode, -1);
        ASSERT_EQ(shown.http.size(), 2);
        EXPECT_EQ(shown.http[0], kHttpTesting);
        if (c.passes) {
            EXPECT_TRUE(QRegularExpression(
                QStringLiteral(
                    "^Połączenie powiodło się \\(www\\) ! Odpowiedź nastąpiła w ciągu: 00:00:\\d\\d\\.\\d\\d\\d$"))
                            .match(shown.http[1])
                            .hasMatch())
                << shown.http[1].toStdString();
            EXPECT_TRUE(shown.errors.isEmpty());
            EXPECT_EQ(shown.information, QStringList { kNotInitialised });
            EXPECT_TRUE(shown.result.tested);
            EXPECT_TRUE(server_->Lab().WaitForOutput("HTTP GET " + kMakerPath + " -> 200"));
        } else {
            EXPECT_EQ(shown.http[1], QString());
            ASSERT_EQ(shown.errors.size(), 1);
            EXPECT_TRUE(shown.errors[0].startsWith(kHttpFailed + "HTTP/1.1 40")) << shown.errors[0].toStdString();
            EXPECT_TRUE(shown.information.isEmpty());
            EXPECT_FALSE(shown.result.tested);
        }
    }
    EXPECT_EQ(server_->Lab().Output().count("HTTP GET " + kMakerPath), 1) << "tinyproxy let a request through";
}

TEST_F(ProxyTest, ProxyThatDoesNotAnswerHttpStopsTheTest)
{
    StartLab({});
    const Shown shown = RunAndRecord(Through(FreeLoopbackPort()), MakerPage());
    EXPECT_EQ(shown.http, (QStringList { kHttpTesting, QString() }));
    ASSERT_EQ(shown.errors.size(), 1);
    EXPECT_TRUE(shown.errors[0].startsWith(kHttpFailed)) << shown.errors[0].toStdString();
    EXPECT_GT(shown.errors[0].size(), kHttpFailed.size()); // the client's own words follow
    EXPECT_TRUE(shown.ftp.isEmpty());
    EXPECT_FALSE(shown.result.tested);
}

// Each FTP login method through a real proxy, the methods before it failing: mode 0 connects
// straight to the lab (no firewall); behind the lab's firewall, Debian's ftp-proxy takes
// USER user@host and the demo lab's proxy offers one method each for the others.
TEST_F(ProxyTest, FtpStepStoresTheFirstMethodThatWorks)
{
    const SourcePorts ports;
    const std::unique_ptr<TRealProxy> ftpProxy = TRealProxy::FtpProxy(ports.first, ports.last);
    REQUIRE_INSTALLED(ftpProxy->Installed(), "ftp-proxy");
    ASSERT_TRUE(ftpProxy->Started());
    const struct {
        int mode;
        QStringList switches;
        const char* proxyLine; // what the demo lab prints for the proxied login
    } cases[] = {
        { 0, {}, nullptr },
        { 1, Gateway() + ports.Firewall() + QStringList { "--ftp-proxy-via", QString::number(ftpProxy->Port()) },
            "FTP PROXY passes an FTP session to" },
        { 2, Gateway() + ports.Firewall() + QStringList { "--ftp-proxy-methods", "site" }, "FTP PROXY SITE -> " },
        { 3, Gateway() + ports.Firewall() + QStringList { "--ftp-proxy-methods", "open" }, "FTP PROXY OPEN -> " },
        { 4, Gateway() + ports.Firewall() + QStringList { "--ftp-proxy-methods", "userpass" },
            "FTP PROXY USER user@proxyuser@host -> " },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mode);
        StartLab(c.switches);
        config_.proxy_ftp_type = 7;
        const Shown shown
            = RunAndRecord(Through(c.mode == 0 ? tinyproxy_->Port() : server_->Lab().FtpProxyPort()), MakerPage());
        EXPECT_TRUE(shown.errors.isEmpty()) << shown.errors.join(' ').toStdString();
        EXPECT_TRUE(shown.information.isEmpty());
        EXPECT_EQ(shown.http.size(), 2);
        QStringList expected;
        for (int mode = 0; mode <= c.mode; ++mode) {
            expected << Trying(mode);
            if (mode > 0 || c.mode == 0) // behind the firewall the direct attempt cannot connect
                expected << kFtpConnected;
        }
        expected << kFtpOk;
        EXPECT_EQ(shown.ftp, expected);
        EXPECT_TRUE(shown.result.tested);
        EXPECT_EQ(shown.result.ftpMode, c.mode);
        EXPECT_EQ(config_.proxy_ftp_type, c.mode);
        if (c.proxyLine) {
            EXPECT_TRUE(server_->Lab().WaitForOutput(c.proxyLine)) << server_->Lab().Output().toStdString();
        }
        EXPECT_EQ(server_->Lab().Output().contains("only ports"), c.mode > 0) << "the direct attempt";
    }
}

// A proxy that connects but does not carry the listing, or takes none of the login methods,
// ends the test at once with the line; one that never connects gives the error after five tries.
TEST_F(ProxyTest, FtpStepThatNeverPasses)
{
    const SourcePorts ports;
    const TRefusingPort noFtp;
    QStringList everyMethodConnects;
    for (int mode = 1; mode < 5; ++mode)
        everyMethodConnects << Trying(mode) << kFtpConnected;
    const struct {
        const char* what;
        QStringList switches;
        QStringList ftp;
        QStringList errors;
    } cases[] = {
        { "no data connections", QStringList { "--ftp-proxy-no-data" },
            QStringList { Trying(0), Trying(1), kFtpConnected, kNoTransfer }, {} },
        { "no login method", QStringList { "--ftp-proxy-methods=" },
            QStringList { Trying(0) } + everyMethodConnects + QStringList { kNoTransfer }, {} },
        { "no FTP behind the gateway", QStringList { "--ftp-proxy-via", QString::number(noFtp.Port()) },
            QStringList { Trying(0), Trying(1), Trying(2), Trying(3), Trying(4), QString() }, QStringList { kNoFtp } },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        StartLab(Gateway() + ports.Firewall() + c.switches);
        const Shown shown = RunAndRecord(Through(server_->Lab().FtpProxyPort()), MakerPage());
        EXPECT_EQ(shown.http.size(), 2);
        EXPECT_EQ(shown.ftp, c.ftp);
        EXPECT_EQ(shown.errors, c.errors);
        EXPECT_FALSE(shown.result.tested);
        EXPECT_EQ(shown.result.ftpMode, -1);
        EXPECT_EQ(config_.proxy_ftp_type, 7);
    }
}

// With the lab's tls=2, the methods that name the server in USER cannot carry TLS: a proxy
// that takes only those ends the test with the message that says so; SITE carries TLS through.
TEST_F(ProxyTest, RequiredTlsTakesOnlyMethodsThatCarryIt)
{
    QTemporaryDir dir;
    TTestCertificates certificates;
    ASSERT_TRUE(MakeTestCertificates(dir.path(), certificates));
    const TScopedCertStore store(certificates.caFile);
    const SourcePorts ports;
    const QStringList tls { "--ftp-tls-cert", certificates.serverPem, "--ftp-tls-required" };
    engine_.tls = 2;

    StartLab(Gateway() + ports.Firewall() + tls + QStringList { "--ftp-proxy-methods", "userhost,userpass" });
    const Shown refused = RunAndRecord(Through(server_->Lab().FtpProxyPort()), MakerPage());
    ASSERT_EQ(refused.errors.size(), 1);
    EXPECT_TRUE(refused.errors[0].startsWith(QStringLiteral("Wybrany sposób łączenia przez serwer proxy nie pozwala na "
                                                            "bezpieczne połączenie (TLS)")))
        << refused.errors[0].toStdString();
    EXPECT_FALSE(refused.result.tested);
    EXPECT_FALSE(server_->Lab().Output().contains("FTP LOGIN"));

    StartLab(Gateway() + ports.Firewall() + tls + QStringList { "--ftp-proxy-methods", "site" });
    const Shown site = RunAndRecord(Through(server_->Lab().FtpProxyPort()), MakerPage());
    EXPECT_TRUE(site.errors.isEmpty()) << site.errors.join(' ').toStdString();
    EXPECT_EQ(site.result.ftpMode, 2);
}

} // namespace
