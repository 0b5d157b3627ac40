// What the order windows read from the lab and keep on disk: the login answer and request,
// the autologin file and the customer-data file.
#include "core/blowfish.h"
#include "core/log.h"
#include "order/autologin.h"
#include "order/customerdata.h"
#include "order/loginanswer.h"
#include "platform/binrecords.h"
#include "platform/cp1250.h"
#include "tests/support/testsupport.h"

#include <QBuffer>
#include <QFile>

#include <gtest/gtest.h>

namespace {

struct AnswerCase {
    const char* body; // Windows-1250 after conversion from this UTF-8 text
    bool loggedIn;
    const char* errormsg;
    const char* name;
};

class LoginAnswerTest : public testing::TestWithParam<AnswerCase> { };

TEST_P(LoginAnswerTest, ReadsOkLineAndValues)
{
    const AnswerCase& c = GetParam();
    TLoginAnswer answer;
    answer.customer.name = QStringLiteral("earlier");
    ParseLoginAnswer(ToCp1250(QString::fromUtf8(c.body)), answer);
    EXPECT_EQ(answer.loggedIn, c.loggedIn);
    EXPECT_EQ(answer.errormsg, QString::fromUtf8(c.errormsg));
    EXPECT_EQ(answer.customer.name, QString::fromUtf8(c.name));
}

INSTANTIATE_TEST_SUITE_P(Answers, LoginAnswerTest,
    testing::Values(AnswerCase { "OK\r\nname=Jan Kowalski\r\n", true, "", "Jan Kowalski" },
        AnswerCase { "city=Łódź\n  oK  \n", true, "", "earlier" }, // ok on any line, any case
        AnswerCase { "NAME = Anna = Maria \r\nok", true, "", "Anna = Maria" }, // split at the first "="
        AnswerCase { "errormsg=  Konto zablokowane.  \r\n", false, "Konto zablokowane.", "earlier" },
        AnswerCase { "ok\r\nERRORMSG=ignored when logged in\r\n", true, "ignored when logged in", "earlier" },
        AnswerCase { "okay\r\nno equals sign\r\n\r\n", false, "", "earlier" },
        AnswerCase { "", false, "", "earlier" }));

TEST(LoginAnswer, ReadsEveryKeyAndLogsUnknownOnesWithoutStopping)
{
    LogStore().Clear();
    TLoginAnswer answer;
    ParseLoginAnswer(ToCp1250(QStringLiteral("ok\r\nName=A\r\ncity=00-950 Łódź\r\nbonus=1\r\nstreet=S\r\nphone=P\r\n"
                                             "email=E\r\nnip=N\r\ncompany=Spółka\r\n")),
        answer);
    EXPECT_TRUE(answer.loggedIn);
    EXPECT_EQ(answer.customer.name, "A");
    EXPECT_EQ(answer.customer.city, QStringLiteral("00-950 Łódź"));
    EXPECT_EQ(answer.customer.street, "S");
    EXPECT_EQ(answer.customer.phone, "P");
    EXPECT_EQ(answer.customer.email, "E");
    EXPECT_EQ(answer.customer.nip, "N");
    EXPECT_EQ(answer.customer.company, QStringLiteral("Spółka"));
    EXPECT_TRUE(LogHasLine(QStringLiteral("got invalid value name \"bonus\" !"), 2));
}

TEST(LoginAnswer, UnreadableFileIsNoLogin)
{
    ScopedAppDir app;
    TLoginAnswer answer;
    answer.loggedIn = true;
    ReadLoginAnswer(app.Path("missing.net"), answer);
    EXPECT_FALSE(answer.loggedIn);
}

TEST(LoginAnswer, UrlEncodesTheUserNameAndSendsOnlyThePasswordDigest)
{
    const QString url = LoginUrl(QStringLiteral("http://lab/login"), QStringLiteral("a&b #+c=ł%"), "tajne");
    EXPECT_EQ(url, "http://lab/login?u=a%26b%20%23%2Bc%3D%B3%25&p=77f869401de682f60e0e749493ab793d"); // MD5 of "tajne"
    EXPECT_FALSE(url.contains("tajne"));
}

// ---- mylogin.dat ----

QStringList ReadItems(const QString& path)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    QStringList items;
    QString item;
    while (ReadLenString(file, item, 4000))
        items << item;
    return items;
}

void WriteItems(const QString& path, const QStringList& items)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    for (const QString& item : items)
        WriteLenString(file, item);
}

TEST(Autologin, WritesSevenPrivateItemsAndReadsThemBack)
{
    ScopedAppDir app;
    ASSERT_TRUE(WriteAutologin({ QStringLiteral("jan kowalski"), QStringLiteral("hasło") }));
    const QString path = app.Path("mylogin.dat");
    EXPECT_EQ(FileModeBits(path), 0600);
    const QStringList first = ReadItems(path);
    ASSERT_EQ(first.size(), 7);
    EXPECT_EQ(first[0], "VD: autologin file");
    const int lengths[] = { 18, 64, 1024, -1, -1, 1264, 1264 };
    for (int i : { 1, 2, 5, 6 })
        EXPECT_EQ(first[i].size(), lengths[i]) << i;
    const TBlowFish cipher(kLoginKey);
    EXPECT_EQ(cipher.DecodeText(first[3]), "jan kowalski");
    EXPECT_EQ(cipher.DecodeText(first[4]), QStringLiteral("hasło"));

    const std::optional<TAutologin> read = ReadAutologin();
    ASSERT_TRUE(read);
    EXPECT_EQ(read->user, "jan kowalski");
    EXPECT_EQ(read->password, QStringLiteral("hasło"));

    ASSERT_TRUE(WriteAutologin({ "jan kowalski", QStringLiteral("hasło") }));
    EXPECT_NE(ReadItems(path)[1], first[1]) << "the filler changes on every write";

    EXPECT_TRUE(DeleteAutologin());
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_FALSE(ReadAutologin());
}

TEST(Autologin, FilesThatGiveNoLogin)
{
    ScopedAppDir app;
    const TBlowFish login(kLoginKey);
    const TBlowFish other(kLabKey);
    const QString header = QStringLiteral("VD: autologin file");
    const struct {
        const char* what;
        QStringList items;
    } cases[] = {
        { "wrong header", { "VD: saved my data", "00", "00", login.EncodeText("u"), login.EncodeText("p") } },
        { "too short", { header, "00", "00", login.EncodeText("u") } },
        { "empty password", { header, "00", "00", login.EncodeText("u"), login.EncodeText("") } },
        { "another key", { header, "00", "00", other.EncodeText("u"), other.EncodeText("p") } },
        { "not cipher text", { header, "00", "00", "xyz", "xyz" } },
    };
    for (const auto& c : cases) {
        WriteItems(app.Path("mylogin.dat"), c.items);
        EXPECT_FALSE(ReadAutologin()) << c.what;
    }
}

// ---- mydata.dat ----

TEST(CustomerData, WritesTheCurrentFormPrivatelyAndReadsBothForms)
{
    ScopedAppDir app;
    const TCustomerData data { QStringLiteral("Jan Kowalski"), "00-950 Warszawa", "ul. Długa 1", "600100200",
        "jan@example.pl", "", QStringLiteral("Spółka") };
    ASSERT_TRUE(WriteCustomerData(data));
    const QString path = app.Path("mydata.dat");
    EXPECT_EQ(FileModeBits(path), 0600);
    std::optional<TCustomerData> read = ReadCustomerData();
    ASSERT_TRUE(read);
    EXPECT_TRUE(read->hasVatData);
    EXPECT_EQ(read->name, data.name);
    EXPECT_EQ(read->city, data.city);
    EXPECT_EQ(read->street, data.street);
    EXPECT_EQ(read->phone, data.phone);
    EXPECT_EQ(read->email, data.email);
    EXPECT_EQ(read->nip, QString()); // an empty field keeps its place
    EXPECT_EQ(read->company, data.company);

    WriteItems(path, { "VD: saved my data", "Anna", "city", "street", "phone", "email" });
    read = ReadCustomerData();
    ASSERT_TRUE(read);
    EXPECT_FALSE(read->hasVatData);
    EXPECT_EQ(read->name, "Anna");
    EXPECT_EQ(read->email, "email");

    EXPECT_TRUE(DeleteCustomerData());
    EXPECT_FALSE(ReadCustomerData());
}

TEST(CustomerData, UnknownHeaderIsLoggedAndIgnored)
{
    ScopedAppDir app;
    LogStore().Clear();
    WriteItems(app.Path("mydata.dat"), { "VD: saved my data v3", "Anna" });
    EXPECT_FALSE(ReadCustomerData());
    EXPECT_TRUE(LogHasLine(QStringLiteral("mydata.dat has invalid format or is incompatible !"), 2));
    EXPECT_TRUE(LogHasLine(QStringLiteral("Loading my data ..."), 0));
}

} // namespace
