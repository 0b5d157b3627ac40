// The order run without a window, against the demo lab's FTP server: when a step fails, what
// the customer is told and what remains in the temporary folder, on the server and in the
// history; and the steps' texts and the post-order page of an order that is sent.
#include "order/orderrun.h"

#include "core/log.h"
#include "lab/md5.h"
#include "lab/vdengine.h"
#include "order/history.h"
#include "order/ordercheck.h"
#include "tests/order/uploadmessages.h"
#include "tests/project/projectfixture.h"
#include "tests/support/ftpserver.h"
#include "tests/support/testsupport.h"

#include <QDir>
#include <QDirIterator>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const QString kCannotSave = QStringLiteral("Nie można utworzyć pliku tymczasowego !");
const QString kSentQuestion
    = QStringLiteral("Zlecenie zostało pomyślnie wysłane !\rWyczyścić zlecenie z wysłanych zdjęć ?");

// What a window would have shown and answered; blocked names an order file (after the ID)
// whose place a folder takes as soon as the order has its folder.
class TRecordingListener : public TOrderRunListener {
public:
    void StatusChanged(const QString& status) override { statuses << status; }
    void OrderStarted(const TOrder& order) override
    {
        orderId = order.orderId;
        if (!blocked.isEmpty()) {
            EXPECT_TRUE(QDir().mkdir(order.orderDir + "/" + order.orderId + blocked));
        }
    }
    void Error(const QString& message) override { messages << message; }
    void Information(const QString& message) override { messages << message; }
    bool Question(const QString& text) override
    {
        messages << text;
        return clearProject;
    }
    void OpenPage(const QString& address) override { pages << address; }
    void ClearProject() override { ++cleared; }

    QString blocked;
    bool clearProject = true;
    QString orderId;
    QStringList statuses;
    QStringList messages;
    QStringList pages;
    int cleared = 0;
};

class OrderRunTest : public testing::Test {
protected:
    void SetUp() override
    {
        LogStore().Clear();
        ASSERT_TRUE(f.project->AddPhoto(f.WritePhoto("a.jpg", 60, 40)));
        ASSERT_TRUE(f.project->AddPhoto(f.WritePhoto("b.jpg", 60, 40)));
        f.project->SetFormat(0, kFormat10x15);
        f.project->SetFormat(1, kFormat13x18);
        f.engine.user = TFtpServer::kUser;
        f.engine.pass = TFtpServer::kPassword;
        f.engine.orderpath = "/orders";
        f.engine.orderid = "%data8%";
        f.engine.authkey = "klucz";
        f.engine.postorderpage = "http://lab.example/zlecenie";
        f.config.timout = 5000;
    }
    void TearDown() override { SetDontSend(false); }

    TOrderOutcome Run(const TFtpServer& server, TRecordingListener& listener)
    {
        f.engine.host = QStringLiteral("127.0.0.1:%1").arg(server.Port());
        TOrderCustomer customer;
        customer.name = "Jan Kowalski";
        customer.payCard = true;
        TOrderRun run(*f.project, f.engine, f.formats, customer, listener);
        return run.Run();
    }

    // Everything below the temporary folder temp, the order's folder named "VDOTMP" and its ID "ID".
    static QStringList LeftInTemp(const QTemporaryDir& temp, const QString& orderId)
    {
        QStringList left;
        QDirIterator it(
            temp.path(), QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            QString path = QDir(temp.path()).relativeFilePath(it.next());
            path.replace(QRegularExpression("^VDOTMP\\.[0-9A-F]{8}"), "VDOTMP");
            if (!orderId.isEmpty())
                path.replace(orderId, "ID");
            left << path;
        }
        left.sort();
        return left;
    }

    TProjectFixture f;
};

// Each step failing in turn. Names on the server and in the temporary folder follow the order
// ID ("ID" for the ID, lower case on the server); "ordersend" is that of the one history entry.
TEST_F(OrderRunTest, StepThatFailsLeavesTheseFilesAndThisHistory)
{
    const QStringList kWholeOrder { "_00001.jpg", "_00002.jpg", "_metadata.txt" };
    struct TStepFailure {
        const char* step;
        QStringList serverFaults = {}; // the demo lab's switches
        QString blocked = {}; // an order file (after the ID) whose place a folder takes
        bool pack = false;
        bool tempIsAFile = false; // TMPDIR names a file: no order folder can be made
        bool historyIsAFile = false; // no history entry can be written
        bool dontSend = false;
        TOrderOutcome outcome = TOrderOutcome::Failed;
        QStringList messages = {};
        QStringList onServer = {};
        QStringList leftInTemp = {};
        bool entry = true; // a history entry was written
        QString ordersend = {};
    };
    const TStepFailure cases[] = {
        { .step = "init: no order folder",
            .tempIsAFile = true,
            .messages = { QStringLiteral("Nie można utworzyć katalogu tymczasowego !") },
            .leftInTemp = { "file" },
            .entry = false },
        { .step = "render: photo 2 cannot be saved",
            .blocked = "_00002.jpg",
            .messages = { kCannotSave },
            .leftInTemp = { "VDOTMP", "VDOTMP/ID_00002.jpg" },
            .entry = false },
        // The archive's failure is logged only; its upload fails five times.
        { .step = "pack: the ZIP cannot be written",
            .blocked = "_pack.zip",
            .pack = true,
            .messages = { kTooManyErrors },
            .leftInTemp = { "VDOTMP", "VDOTMP/ID_pack.zip" } },
        { .step = "metadata cannot be written",
            .blocked = "_metadata.txt",
            .messages = { kCannotSave },
            .leftInTemp = { "VDOTMP", "VDOTMP/ID_metadata.txt" },
            .entry = false },
        // The history is the program's own record: the order goes on without it.
        { .step = "history cannot be written",
            .historyIsAFile = true,
            .outcome = TOrderOutcome::Sent,
            .messages = { kSentQuestion },
            .onServer = kWholeOrder,
            .entry = false },
        { .step = "don't-send flag",
            .pack = true,
            .dontSend = true,
            .outcome = TOrderOutcome::Prepared,
            .messages = { "Dontsend flag detected, press ok to clean up and close..." } },
        { .step = "connect: login refused",
            .serverFaults = { "--refuse-login-after", "0" },
            .messages = { kCannotConnect } },
        { .step = "upload: photo 2 refused, then the login",
            .serverFaults = { "--fail-upload", "2", "--refuse-login-after", "1" },
            .messages = { kCannotConnect, kConnectionLost },
            .onServer = { "_00001.jpg" } },
        { .step = "upload: five refusals",
            .serverFaults = { "--fail-upload", "1", "--fail-upload", "2", "--fail-upload", "3", "--fail-upload", "4",
                "--fail-upload", "5" },
            .messages = { kTooManyErrors } },
        // Every try of the metadata arrives short: the photos stay, an order without metadata.
        { .step = "verify: the metadata's size is wrong five times",
            .serverFaults
            = { "--size-lie", "3", "--size-lie", "4", "--size-lie", "5", "--size-lie", "6", "--size-lie", "7" },
            .messages = { kTooManyErrors },
            .onServer = { "_00001.jpg", "_00002.jpg" } },
        { .step = "nothing fails: marked sent",
            .outcome = TOrderOutcome::Sent,
            .messages = { kSentQuestion },
            .onServer = kWholeOrder,
            .ordersend = "1" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.step);
        ScopedAppDir app;
        TFtpServer server(c.serverFaults);
        ASSERT_TRUE(server.Started());
        f.engine.pack = c.pack;
        SetDontSend(c.dontSend);
        QTemporaryDir temp; // the order's temporary folder, made before TMPDIR names it
        if (c.tempIsAFile) {
            ASSERT_TRUE(WriteFileBytes(temp.filePath("file"), "not a folder"));
        }
        const ScopedEnv tmpdir("TMPDIR", c.tempIsAFile ? temp.filePath("file") : temp.path());
        if (c.historyIsAFile) {
            ASSERT_TRUE(WriteFileBytes(app.Path("history"), "not a folder"));
        }
        TRecordingListener listener;
        listener.blocked = c.blocked;

        EXPECT_EQ(Run(server, listener), c.outcome);
        EXPECT_EQ(listener.messages, c.messages);
        const QString id = listener.orderId;
        QStringList expectedOnServer;
        for (const QString& suffix : c.onServer)
            expectedOnServer << id.toLower() + suffix;
        EXPECT_EQ(QDir(server.Orders()).entryList(QDir::Files, QDir::Name), expectedOnServer);
        EXPECT_EQ(LeftInTemp(temp, id), c.leftInTemp);
        const QStringList entries = QDir(app.Path("history")).entryList({ "*_hist.dat" });
        ASSERT_EQ(entries.size(), c.entry ? 1 : 0);
        if (c.entry) {
            THistory entry;
            ASSERT_TRUE(entry.LoadEntry(app.Path("history/" + entries.front())));
            EXPECT_EQ(entry.GetValue("oid"), id);
            EXPECT_EQ(entry.GetValue("ordersend"), c.ordersend);
        }
    }
}

TEST_F(OrderRunTest, SentOrderNamesEachStepOpensItsPageAndAsksToClear)
{
    f.engine.pack = true;
    ScopedAppDir app;
    TFtpServer server;
    ASSERT_TRUE(server.Started());
    QTemporaryDir temp;
    const ScopedEnv tmpdir("TMPDIR", temp.path());
    TRecordingListener listener;
    listener.clearProject = false;
    EXPECT_EQ(Run(server, listener), TOrderOutcome::Sent);
    EXPECT_EQ(listener.statuses,
        (QStringList { "Tworzenie zlecenia ...", "Kompresowanie zlecenia ...",
            QStringLiteral("Łączenie z serwerem ..."), QStringLiteral("Wysyłanie zlecenia ..."),
            QStringLiteral("Zlecenie zostało wysłane.") }));
    const QString id = listener.orderId;
    EXPECT_EQ(QDir(server.Orders()).entryList(QDir::Files, QDir::Name),
        (QStringList { id.toLower() + "_metadata.txt", id.toLower() + "_pack.zip" }));
    const TOrderVerdict verdict = CheckOrder(server.Orders(), id);
    EXPECT_TRUE(verdict.ok) << verdict.text.toStdString();
    EXPECT_EQ(listener.pages, QStringList { "http://lab.example/zlecenie?id=" + id + "&sign=" + MD5Hex("klucz" + id) });
    EXPECT_EQ(listener.messages, QStringList { kSentQuestion });
    EXPECT_EQ(listener.cleared, 0) << "the customer keeps the photos";
    EXPECT_TRUE(QDir(temp.path()).isEmpty());
}

TEST(PostOrderPageTest, SignsIdAndLoginWithTheLabsKey)
{
    TEngine engine;
    EXPECT_EQ(PostOrderPage(engine, "3FA9C07B", "jan"), "") << "the lab has no page";
    engine.postorderpage = "https://lab.example/po";
    engine.authkey = "klucz";
    EXPECT_EQ(PostOrderPage(engine, "3FA9C07B", "jan"),
        "https://lab.example/po?id=3FA9C07B&sign=85352facc80b12cafaa8e43b7caf64d0"); // md5 of "klucz3FA9C07Bjan"
}

} // namespace
