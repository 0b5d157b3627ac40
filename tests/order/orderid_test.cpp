// Order IDs: the two time-of-day rules and the answer of the lab's order-ID script, fetched
// from the demo lab's HTTP server.
#include "order/orderid.h"

#include "core/core.h"
#include "core/coreobjects.h"
#include "lab/vdengine.h"
#include "tests/support/demolab.h"
#include "tests/support/testsupport.h"

#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <optional>

namespace {

TEST(OrderIdTest, TimestampHasMillisecondsWithoutLeadingZeros)
{
    const QDate day(2026, 3, 4);
    EXPECT_EQ(OrderTimestamp(QDateTime(day, QTime(5, 6, 7, 8))), "2603040506078");
    EXPECT_EQ(OrderTimestamp(QDateTime(day, QTime(5, 6, 7, 0))), "2603040506070");
    EXPECT_EQ(OrderTimestamp(QDateTime(day, QTime(23, 59, 59, 999))), "260304235959999");
    EXPECT_EQ(ObtainOrderId(QStringLiteral("%data%"), QDateTime(day, QTime(5, 6, 7, 8))).id, "2603040506078");
}

TEST(OrderIdTest, HashIdIsEightUpperCaseDigitsBelow80000000)
{
    // SDBM of "2603040506078", computed by hand: h = byte + h * 65599, low 31 bits.
    EXPECT_EQ(OrderHashId(QDateTime(QDate(2026, 3, 4), QTime(5, 6, 7, 8))), "5F9A3CDB");
    const QRegularExpression form(QStringLiteral("^[0-7][0-9A-F]{7}$"));
    QDateTime time(QDate(2026, 12, 31), QTime(23, 59, 0));
    for (int i = 0; i < 2000; ++i, time = time.addMSecs(37)) {
        const TOrderIdResult id = ObtainOrderId(QStringLiteral("%data8%"), time);
        ASSERT_TRUE(id.ok);
        ASSERT_TRUE(form.match(id.id).hasMatch()) << id.id.toStdString();
    }
}

struct AnswerCase {
    const char* answer;
    std::optional<QString> id;
};

TEST(OrderIdTest, AnswerFirstLineLowerCasedTrimmedAndPlain)
{
    const QString longest(64, u'a');
    const AnswerCase cases[] = {
        { "ID=AB12  \r\nid=other\r\n", QStringLiteral("ab12") },
        { "  id=dl2603_0001-x\n", QStringLiteral("dl2603_0001-x") }, { "id=7\r", QStringLiteral("7") },
        { "", std::nullopt }, { "\r\nid=late\r\n", std::nullopt }, // only the first line counts
        { "ok\r\n", std::nullopt }, { "id=", std::nullopt }, { "id=   \r\n", std::nullopt },
        { "id= ab12", std::nullopt }, // the space after "=" would be part of the ID
        { "id=../../etc", std::nullopt }, { "id=a/b", std::nullopt }, { "id=a.b", std::nullopt },
        { "id=z\xB3", std::nullopt }, // Windows-1250 "ł"
    };
    for (const AnswerCase& c : cases)
        EXPECT_EQ(ParseOrderIdAnswer(QByteArray(c.answer)), c.id) << c.answer;
    EXPECT_EQ(ParseOrderIdAnswer("id=" + longest.toLatin1()), longest);
    EXPECT_EQ(ParseOrderIdAnswer("id=" + longest.toLatin1() + "a"), std::nullopt);
}

// The script's answer comes through QuietGetHTTP with the lab's account into last.oid.
class OrderIdServerTest : public testing::Test {
protected:
    void SetUp() override
    {
        engine_.user = QStringLiteral("labuser");
        engine_.pass = QStringLiteral("hasło");
        Core().engine = &engine_;
        Core().config = &config_;
        WriteFileBytes(www_.filePath("spaced.txt"), "ID=AB12  \r\n");
        WriteFileBytes(www_.filePath("slash.txt"), "id=../x\r\n");
        WriteFileBytes(www_.filePath("empty.txt"), "");
        WriteFileBytes(www_.filePath("noid.txt"), "order=12\r\n");
        lab_ = std::make_unique<TDemoLab>(
            www_.path(), QStringList { "--no-ftp", "--user", "labuser", "--password", QStringLiteral("hasło") });
        ASSERT_TRUE(lab_->Started());
    }
    void TearDown() override { Core() = {}; }

    ScopedAppDir app_;
    QTemporaryDir www_;
    TEngine engine_;
    TConfig config_;
    std::unique_ptr<TDemoLab> lab_;
};

TEST_F(OrderIdServerTest, ScriptAnswers)
{
    const TOrderIdResult fromScript = ObtainOrderId(lab_->Url("/orderid"));
    ASSERT_TRUE(fromScript.ok);
    EXPECT_EQ(fromScript.id, "dl" + QDate::currentDate().toString("yyMMdd") + "0001");
    EXPECT_TRUE(ReadFileBytes(app_.Path("last.oid")).startsWith("id=DL"));

    EXPECT_EQ(ObtainOrderId(lab_->Url("/spaced.txt")).id, "ab12");
    const QString invalid = QStringLiteral("Serwer zwrócił nieprawidłowe dane !");
    for (const char* path : { "/slash.txt", "/empty.txt", "/noid.txt" }) {
        const TOrderIdResult result = ObtainOrderId(lab_->Url(path));
        EXPECT_FALSE(result.ok) << path;
        EXPECT_EQ(result.message, invalid) << path;
    }
    const TOrderIdResult missing = ObtainOrderId(lab_->Url("/missing.txt"));
    EXPECT_EQ(missing.message, "Błąd komunikacji z serwerem !");
    const TOrderIdResult unreachable
        = ObtainOrderId(QStringLiteral("http://127.0.0.1:%1/orderid").arg(FreeLoopbackPort()));
    EXPECT_FALSE(unreachable.ok);
    EXPECT_EQ(unreachable.message, "Błąd komunikacji z serwerem !");
}

} // namespace
