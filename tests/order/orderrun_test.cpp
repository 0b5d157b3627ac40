// The order run without a window, against the demo lab's FTP server: when a step fails, what
// the customer is told and what remains in the orders' folder (with the record of an order whose
// upload began), on the server and in the history; the steps' texts and the post-order page of
// an order that is sent; an order left unfinished finished or dropped by a later run.
#include "order/orderrun.h"

#include "core/log.h"
#include "lab/md5.h"
#include "lab/vdengine.h"
#include "order/history.h"
#include "order/ordercheck.h"
#include "order/unfinishedorder.h"
#include "tests/order/uploadmessages.h"
#include "tests/project/projectfixture.h"
#include "tests/support/ftpserver.h"
#include "tests/support/testsupport.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
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
        figures = { order.origSize, order.sourceRaw, order.orderRawSize, order.photosDone };
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
    std::vector<int64_t> figures; // the sources' size and raw size, the rendered raw size, photos done
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

    // Everything below folder (the temporary folder, or the orders' folder), the order's folder
    // named "VDOTMP" and its ID "ID".
    static QStringList LeftIn(const QString& folder, const QString& orderId)
    {
        QStringList left;
        QDirIterator it(folder, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            QString path = QDir(folder).relativeFilePath(it.next());
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
    const QStringList kKeptOrder { "VDOTMP", "VDOTMP/ID_00001.jpg", "VDOTMP/ID_00002.jpg", "VDOTMP/ID_metadata.txt",
        "VDOTMP/unfinished.txt" };
    struct TStepFailure {
        const char* step;
        QStringList serverFaults = {}; // the demo lab's switches
        QString blocked = {}; // an order file (after the ID) whose place a folder takes
        bool pack = false;
        bool ordersIsAFile = false; // the orders' folder is a file: no order folder can be made
        bool historyIsAFile = false; // no history entry can be written
        bool dontSend = false;
        TOrderOutcome outcome = TOrderOutcome::Failed;
        QStringList messages = {};
        QStringList onServer = {};
        QStringList leftInOrders = {};
        int recordSent = -1; // the record's sent count; -1: no record is left
        bool entry = true; // a history entry was written
        QString ordersend = {};
    };
    const TStepFailure cases[] = {
        { .step = "init: no order folder",
            .ordersIsAFile = true,
            .messages = { QStringLiteral("Nie można utworzyć katalogu tymczasowego !") },
            .entry = false },
        { .step = "render: photo 2 cannot be saved",
            .blocked = "_00002.jpg",
            .messages = { kCannotSave },
            .leftInOrders = { "VDOTMP", "VDOTMP/ID_00002.jpg" },
            .entry = false },
        // The archive's failure is logged only; its upload fails five times, and an order
        // without its archive is not kept for later.
        { .step = "pack: the ZIP cannot be written",
            .blocked = "_pack.zip",
            .pack = true,
            .messages = { kTooManyErrors },
            .leftInOrders = { "VDOTMP", "VDOTMP/ID_pack.zip" } },
        { .step = "metadata cannot be written",
            .blocked = "_metadata.txt",
            .messages = { kCannotSave },
            .leftInOrders = { "VDOTMP", "VDOTMP/ID_metadata.txt" },
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
        // From the upload on, a failed order waits with its record for the next start.
        { .step = "connect: login refused",
            .serverFaults = { "--refuse-login-after", "0" },
            .messages = { kCannotConnect },
            .leftInOrders = kKeptOrder,
            .recordSent = 0 },
        { .step = "upload: photo 2 refused, then the login",
            .serverFaults = { "--fail-upload", "2", "--refuse-login-after", "1" },
            .messages = { kCannotConnect, kConnectionLost },
            .onServer = { "_00001.jpg" },
            .leftInOrders = kKeptOrder,
            .recordSent = 1 },
        { .step = "upload: five refusals",
            .serverFaults = { "--fail-upload", "1", "--fail-upload", "2", "--fail-upload", "3", "--fail-upload", "4",
                "--fail-upload", "5" },
            .messages = { kTooManyErrors },
            .leftInOrders = kKeptOrder,
            .recordSent = 0 },
        // Every try of the metadata arrives short: the photos stay, an order without metadata.
        { .step = "verify: the metadata's size is wrong five times",
            .serverFaults
            = { "--size-lie", "3", "--size-lie", "4", "--size-lie", "5", "--size-lie", "6", "--size-lie", "7" },
            .messages = { kTooManyErrors },
            .onServer = { "_00001.jpg", "_00002.jpg" },
            .leftInOrders = kKeptOrder,
            .recordSent = 2 },
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
        QTemporaryDir temp; // the temporary folder, which an order no longer uses
        const ScopedEnv tmpdir("TMPDIR", temp.path());
        if (c.ordersIsAFile) {
            ASSERT_TRUE(WriteFileBytes(app.Path("orders"), "not a folder"));
        }
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
        EXPECT_EQ(LeftIn(temp.path(), id), QStringList {});
        EXPECT_EQ(LeftIn(app.Path("orders"), id), c.leftInOrders);
        const std::vector<TUnfinishedOrder> unfinished = FindUnfinishedOrders();
        ASSERT_EQ(unfinished.size(), c.recordSent < 0 ? 0u : 1u);
        if (c.recordSent >= 0) {
            EXPECT_EQ(unfinished[0].orderId, id);
            EXPECT_EQ(unfinished[0].sent, c.recordSent);
            EXPECT_EQ(unfinished[0].files.size(), 3u);
        }
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
    EXPECT_EQ(LeftIn(app.Path("orders"), id), QStringList {});
}

// A run whose upload fails (the second photo refused five times) leaves the order; the next
// run finishes it: the photo the server holds is not sent again, the order ends as a sent one,
// under the login it was made with, and its folder goes.
TEST_F(OrderRunTest, FailedUploadIsFinishedByALaterRun)
{
    ScopedAppDir app;
    QStringList faults;
    for (int upload = 2; upload <= 6; ++upload)
        faults << "--fail-upload" << QString::number(upload);
    TFtpServer server(faults);
    ASSERT_TRUE(server.Started());
    TRecordingListener first;
    EXPECT_EQ(Run(server, first), TOrderOutcome::Failed);
    EXPECT_EQ(first.messages, QStringList { kTooManyErrors });
    const std::vector<TUnfinishedOrder> unfinished = FindUnfinishedOrders();
    ASSERT_EQ(unfinished.size(), 1u);
    const QString id = first.orderId;
    EXPECT_EQ(UnfinishedOrderQuestion(unfinished[0]),
        QStringLiteral("Dokończyć wysyłanie zlecenia ") + id + QStringLiteral(" (wysłano 1 z 3 plików) ?"));

    TRecordingListener later;
    TOrderRun run(*f.project, f.engine, f.formats, {}, later);
    EXPECT_EQ(run.Resume(unfinished[0]), TOrderOutcome::Sent);
    EXPECT_EQ(later.orderId, id);
    const int64_t sources = QFileInfo(f.PhotoPath("a.jpg")).size() + QFileInfo(f.PhotoPath("b.jpg")).size();
    EXPECT_EQ(later.figures, (std::vector<int64_t> { sources, kUnknownSize, kUnknownSize, 2 }))
        << "the photos' figures come from the metadata; the raw sizes are not known any more";
    EXPECT_EQ(later.messages, QStringList { kSentQuestion });
    EXPECT_EQ(later.cleared, 1);
    EXPECT_EQ(later.pages, QStringList { "http://lab.example/zlecenie?id=" + id + "&sign=" + MD5Hex("klucz" + id) });
    EXPECT_EQ(later.statuses,
        (QStringList { QStringLiteral("Łączenie z serwerem ..."), QStringLiteral("Wysyłanie zlecenia ..."),
            QStringLiteral("Zlecenie zostało wysłane.") }));
    const TOrderVerdict verdict = CheckOrder(server.Orders(), id);
    EXPECT_TRUE(verdict.ok) << verdict.text.toStdString();
    EXPECT_EQ(server.Lab().Output().count("FTP UPLOAD /orders/" + id.toLower() + "_00001.jpg from 0"), 1);
    EXPECT_EQ(LeftIn(app.Path("orders"), id), QStringList {});
    const QStringList entries = QDir(app.Path("history")).entryList({ "*_hist.dat" });
    ASSERT_EQ(entries.size(), 1);
    THistory entry;
    ASSERT_TRUE(entry.LoadEntry(app.Path("history/" + entries.front())));
    EXPECT_EQ(entry.GetValue("oid"), id);
    EXPECT_EQ(entry.GetValue("ordersend"), "1");
}

// Dropping an order left unfinished: its files on the server and its folder are deleted; the
// history keeps the entry of an order that was not sent.
TEST_F(OrderRunTest, DroppedOrderLeavesNothingOnTheServerOrOnDisk)
{
    ScopedAppDir app;
    TFtpServer server({ "--fail-upload", "3", "--refuse-login-after", "1" }); // the metadata refused
    ASSERT_TRUE(server.Started());
    TRecordingListener first;
    EXPECT_EQ(Run(server, first), TOrderOutcome::Failed);
    const QString id = first.orderId;
    EXPECT_EQ(QDir(server.Orders()).entryList(QDir::Files).size(), 2);
    std::vector<TUnfinishedOrder> unfinished = FindUnfinishedOrders();
    ASSERT_EQ(unfinished.size(), 1u);
    EXPECT_EQ(unfinished[0].sent, 2);

    TFtpServer other; // the same files, on a server that lets the program in again
    ASSERT_TRUE(other.Started());
    for (const QString& name : QDir(server.Orders()).entryList(QDir::Files))
        ASSERT_TRUE(QFile::copy(server.Orders(name), other.Orders(name)));
    f.engine.host = QStringLiteral("127.0.0.1:%1").arg(other.Port());
    TRecordingListener later;
    TOrderRun(*f.project, f.engine, f.formats, {}, later).Discard(unfinished[0]);
    EXPECT_TRUE(later.messages.isEmpty());
    EXPECT_EQ(QDir(other.Orders()).entryList(QDir::Files), QStringList {});
    EXPECT_EQ(LeftIn(app.Path("orders"), id), QStringList {});
    EXPECT_TRUE(FindUnfinishedOrders().empty());
    EXPECT_EQ(QDir(app.Path("history")).entryList({ "*_hist.dat" }).size(), 1);
}

// A server out of reach when the order is dropped: the folder goes all the same (the parts on
// the server have no metadata, so the lab never takes them for an order), and nobody is asked.
TEST_F(OrderRunTest, DroppedOrderOfAServerOutOfReachLeavesTheDisk)
{
    ScopedAppDir app;
    TFtpServer server({ "--refuse-login-after", "0" });
    ASSERT_TRUE(server.Started());
    TRecordingListener first;
    EXPECT_EQ(Run(server, first), TOrderOutcome::Failed);
    const std::vector<TUnfinishedOrder> unfinished = FindUnfinishedOrders();
    ASSERT_EQ(unfinished.size(), 1u);

    f.engine.host = QStringLiteral("127.0.0.1:%1").arg(FreeLoopbackPort());
    TRecordingListener later;
    TOrderRun(*f.project, f.engine, f.formats, {}, later).Discard(unfinished[0]);
    EXPECT_TRUE(later.messages.isEmpty());
    EXPECT_EQ(LeftIn(app.Path("orders"), first.orderId), QStringList {});
    EXPECT_TRUE(LogHasLine("Unfinished order " + first.orderId + ": its files on the server could not be deleted", 2));
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
