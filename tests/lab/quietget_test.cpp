#include "lab/quietget.h"

#include "core/core.h"
#include "core/coreobjects.h"
#include "core/log.h"
#include "lab/vdengine.h"
#include "tests/support/demolab.h"
#include "tests/support/testsupport.h"

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

} // namespace
