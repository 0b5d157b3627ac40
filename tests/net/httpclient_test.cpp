#include "net/httpclient.h"

#include "platform/cp1250.h"

#include "tests/support/demolab.h"
#include "tests/support/testsupport.h"
#include "tests/support/tlscerts.h"

#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

const QString kUser = QStringLiteral("labuser");
const QString kPassword = QStringLiteral("tajne hasło");

QString Md5(const QString& text)
{
    return QString::fromLatin1(QCryptographicHash::hash(ToCp1250(text), QCryptographicHash::Md5).toHex());
}

THttpSettings LabSettings()
{
    THttpSettings settings;
    settings.user = kUser;
    settings.password = Md5(kPassword);
    settings.readTimeoutMs = 5000;
    return settings;
}

class HttpClientTest : public testing::Test {
protected:
    void Serve(const QStringList& faults = {})
    {
        ASSERT_TRUE(WriteFileBytes(www_.filePath("a.txt"), "hello\r\nworld\xb3"));
        ASSERT_TRUE(WriteFileBytes(www_.filePath("empty.txt"), ""));
        QByteArray big(300 * 1024, 'x');
        ASSERT_TRUE(WriteFileBytes(www_.filePath("big.bin"), big));
        lab_ = std::make_unique<TDemoLab>(
            www_.path(), QStringList { "--no-ftp", "--user", kUser, "--password", kPassword } + faults);
        ASSERT_TRUE(lab_->Started()) << lab_->Output().toStdString();
    }
    QString Target() const { return out_.filePath("target.txt"); }

    QTemporaryDir www_;
    QTemporaryDir out_;
    std::unique_ptr<TDemoLab> lab_;
    THttpClient client_;
};

TEST_F(HttpClientTest, BodyArrivesByteForByteAndReplacesTheTarget)
{
    Serve();
    WriteFileBytes(Target(), "old content that is longer");
    const THttpResult result = client_.Get(lab_->Url("/a.txt"), Target(), LabSettings());
    ASSERT_TRUE(result.ok) << result.message.toStdString();
    EXPECT_EQ(ReadFileBytes(Target()), QByteArray("hello\r\nworld\xb3"));

    ASSERT_TRUE(client_.Get(lab_->Url("/empty.txt"), Target(), LabSettings()).ok);
    EXPECT_TRUE(QFile::exists(Target()));
    EXPECT_EQ(ReadFileBytes(Target()).size(), 0);
}

TEST_F(HttpClientTest, FailuresLeaveTheTargetAlone)
{
    Serve({ "--status", "/gone.txt=404", "--redirect", "/moved.txt=/a.txt", "--truncate", "/big.bin=1000", "--status",
        "/broken=500" });
    struct Case {
        const char* path;
        THttpSettings settings;
        const char* errorClass;
    };
    THttpSettings wrongPassword = LabSettings();
    wrongPassword.password = Md5(QStringLiteral("inne"));
    THttpSettings noCredentials = LabSettings();
    noCredentials.user.clear();
    noCredentials.password.clear();
    const Case cases[] = {
        { "/gone.txt", LabSettings(), "EHttpStatus" },
        { "/missing.txt", LabSettings(), "EHttpStatus" },
        { "/broken", LabSettings(), "EHttpStatus" },
        { "/moved.txt", LabSettings(), "EHttpStatus" },
        { "/a.txt", wrongPassword, "EHttpStatus" },
        { "/a.txt", noCredentials, "EHttpStatus" },
        { "/big.bin", LabSettings(), "EIncompleteBody" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        WriteFileBytes(Target(), "previous");
        const THttpResult result = client_.Get(lab_->Url(QString::fromLatin1(c.path)), Target(), c.settings);
        EXPECT_FALSE(result.ok);
        EXPECT_EQ(result.errorClass.toStdString(), c.errorClass) << result.message.toStdString();
        EXPECT_EQ(ReadFileBytes(Target()), QByteArray("previous"));
    }
    EXPECT_EQ(client_.Get(lab_->Url("/gone.txt"), Target(), LabSettings()).message, "HTTP/1.1 404 Not Found");
}

TEST_F(HttpClientTest, ReadTimeOutAndRefusedConnectionFail)
{
    Serve({ "--delay", "/slow.txt=3000" });
    THttpSettings quick = LabSettings();
    quick.readTimeoutMs = 300;
    QElapsedTimer timer;
    timer.start();
    THttpResult result = client_.Get(lab_->Url("/slow.txt"), Target(), quick);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.errorClass, "ETimeout");
    EXPECT_LT(timer.elapsed(), 2500);

    result = client_.Get(QStringLiteral("http://127.0.0.1:%1/a.txt").arg(FreeLoopbackPort()), Target(), LabSettings());
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.errorClass, "EConnection");
    EXPECT_FALSE(QFile::exists(Target()));

    EXPECT_EQ(client_.Get(QStringLiteral("ftp://127.0.0.1/a.txt"), Target(), LabSettings()).errorClass, "EUrl");
    EXPECT_EQ(client_.Get(QStringLiteral("http://:80/a.txt"), Target(), LabSettings()).errorClass, "EUrl");
}

// A server cannot make the client hold more than the limit, nor hold it longer than the
// deadline by trickling the body below the read time-out.
TEST_F(HttpClientTest, SizeLimitAndDeadlineEndTheTransfer)
{
    ASSERT_TRUE(WriteFileBytes(www_.filePath("stream.bin"), QByteArray(300 * 1024, 'y')));
    Serve({ "--no-length", "/stream.bin", "--trickle", "/a.txt=300" });
    THttpSettings limited = LabSettings();
    limited.maxBodyBytes = 200 * 1024;
    for (const char* path : { "/big.bin", "/stream.bin" }) { // announced, and found while reading
        SCOPED_TRACE(path);
        WriteFileBytes(Target(), "previous");
        const THttpResult result = client_.Get(lab_->Url(QString::fromLatin1(path)), Target(), limited);
        EXPECT_EQ(result.errorClass, "EBodyTooLarge");
        EXPECT_EQ(result.message, "Body larger than 204800 bytes");
        EXPECT_EQ(ReadFileBytes(Target()), QByteArray("previous"));
    }
    limited.maxBodyBytes = 300 * 1024;
    ASSERT_TRUE(client_.Get(lab_->Url("/stream.bin"), Target(), limited).ok);
    EXPECT_EQ(ReadFileBytes(Target()), QByteArray(300 * 1024, 'y'));

    THttpSettings quick = LabSettings();
    quick.readTimeoutMs = 400;
    QElapsedTimer timer;
    timer.start();
    const THttpResult result = client_.Get(lab_->Url("/a.txt"), Target(), quick);
    EXPECT_EQ(result.errorClass, "ETimeout");
    EXPECT_EQ(result.message, "Transfer not finished within 1600 ms");
    EXPECT_GE(timer.elapsed(), 1500);
    EXPECT_LT(timer.elapsed(), 3500); // the whole body would take 3.9 s
}

TEST(HttpSettings, TimeOutOfZeroOrLessIsTheDefault)
{
    THttpSettings settings;
    for (const int stored : { 0, -5, INT32_MIN }) {
        settings.readTimeoutMs = stored;
        EXPECT_EQ(settings.TimeoutMs(), 30000);
        EXPECT_EQ(settings.DeadlineMs(), 120000);
    }
    settings.readTimeoutMs = INT32_MAX;
    EXPECT_EQ(settings.DeadlineMs(), INT32_MAX);
}

TEST_F(HttpClientTest, RequestGoesThroughTheProxy)
{
    Serve();
    THttpSettings viaProxy = LabSettings();
    viaProxy.useProxy = true;
    viaProxy.proxyHost = QStringLiteral("127.0.0.1");
    viaProxy.proxyPort = lab_->HttpPort();
    // The lab's server answers the proxy request itself, so the unknown host is never resolved.
    const THttpResult result = client_.Get(QStringLiteral("http://lab.invalid/a.txt"), Target(), viaProxy);
    ASSERT_TRUE(result.ok) << result.message.toStdString();
    EXPECT_TRUE(lab_->WaitForOutput("GET http://lab.invalid")) << lab_->Output().toStdString();
}

TEST_F(HttpClientTest, AbortEndsAWaitingRequestAtOnce)
{
    Serve({ "--delay", "/slow.txt=5000" });
    QTimer::singleShot(200, [this] { client_.Abort(); });
    QElapsedTimer timer;
    timer.start();
    const THttpResult result = client_.Get(lab_->Url("/slow.txt"), Target(), LabSettings());
    EXPECT_EQ(result.errorClass, "ECancelled");
    EXPECT_LT(timer.elapsed(), 2000);
    EXPECT_FALSE(QFile::exists(Target()));
}

TEST_F(HttpClientTest, WorkEventsReportTheBody)
{
    Serve();
    qint64 total = -1;
    qint64 last = -1;
    int ends = 0;
    client_.SetWorkListener({ [&](qint64 t) { total = t; }, [&](qint64 c) { last = c; }, [&] { ++ends; } });
    ASSERT_TRUE(client_.Get(lab_->Url("/big.bin"), Target(), LabSettings()).ok);
    EXPECT_EQ(total, 300 * 1024);
    EXPECT_EQ(last, 300 * 1024);
    EXPECT_EQ(ends, 1);
}

// A certificate for 127.0.0.1 signed by an authority made for the test: refused until the
// store trusts that authority.
TEST_F(HttpClientTest, HttpsChecksTheCertificateAgainstTheStore)
{
    TTestCertificates certificates;
    ASSERT_TRUE(MakeTestCertificates(out_.path(), certificates));
    Serve({ "--tls-cert", certificates.serverPem });
    const QString url = QStringLiteral("https://127.0.0.1:%1/a.txt").arg(lab_->HttpPort());

    THttpResult result = client_.Get(url, Target(), LabSettings());
    EXPECT_FALSE(result.ok);
    EXPECT_FALSE(QFile::exists(Target()));

    const TScopedCertStore store(certificates.caFile);
    result = client_.Get(url, Target(), LabSettings());
    ASSERT_TRUE(result.ok) << result.message.toStdString();
    EXPECT_EQ(ReadFileBytes(Target()), QByteArray("hello\r\nworld\xb3"));
}

// A trusted authority's certificate made out to another address is still refused.
TEST_F(HttpClientTest, HttpsChecksTheServersName)
{
    TTestCertificates certificates;
    ASSERT_TRUE(MakeTestCertificates(out_.path(), certificates, QStringLiteral("127.0.0.2")));
    Serve({ "--tls-cert", certificates.serverPem });
    const TScopedCertStore store(certificates.caFile);
    WriteFileBytes(Target(), "previous");
    const THttpResult result
        = client_.Get(QStringLiteral("https://127.0.0.1:%1/a.txt").arg(lab_->HttpPort()), Target(), LabSettings());
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(ReadFileBytes(Target()), QByteArray("previous"));
}

TEST(HttpRequestTarget, EncodesSpacesAndNonAsciiAsWindows1250)
{
    EXPECT_EQ(HttpRequestTarget(QStringLiteral("/login?u=Jan Kowalski&p=ab")), "/login?u=Jan%20Kowalski&p=ab");
    EXPECT_EQ(HttpRequestTarget(QStringLiteral("/a?u=Łódź")), "/a?u=%A3%F3d%9F");
    EXPECT_EQ(HttpRequestTarget(QStringLiteral("/x%20y")), "/x%20y");
    EXPECT_EQ(HttpRequestTarget(QString()), "/");
}

} // namespace
