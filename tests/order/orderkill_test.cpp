// An order whose program is killed (SIGKILL) during a real upload to the demo lab: in the
// middle of a photo (over a slow line, once the server holds a part of it), between two photos,
// before the metadata. The next run finds the order, offers it and, on OK, finishes it
// without rendering anything: vendaro-lab check-order finds it complete, and the server's log
// shows that no byte of it arrived twice (the server resumes uploads). "NIE" leaves nothing of
// it on the server or on disk.
#include "lab/md5.h"
#include "order/history.h"
#include "order/orderrun.h"
#include "order/unfinishedorder.h"
#include "platform/files.h"
#include "tests/order/orderkill.h"
#include "tests/project/projectfixture.h"
#include "tests/support/testsupport.h"
#include "tests/tools/labrun.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <map>

namespace {

// A line slow enough for the poster to take some seconds.
const QStringList kSlowLine { "--line-rate", "2000000" };

QString RemotePhoto(const QString& id, int n)
{
    return QStringLiteral("%1_%2.jpg").arg(id.toLower(), QString::number(n).rightJustified(5, '0'));
}

class TAnsweringListener : public TOrderRunListener {
public:
    void StatusChanged(const QString& status) override { statuses << status; }
    void Error(const QString& message) override { messages << message; }
    void Information(const QString& message) override { messages << message; }
    bool Question(const QString& text) override
    {
        messages << text;
        return true;
    }
    void OpenPage(const QString& address) override { pages << address; }

    QStringList statuses;
    QStringList messages;
    QStringList pages;
};

class OrderKillTest : public testing::Test {
protected:
    // Where the program is killed: once it has held out after holdAfter files, or, when killIn
    // is not 0, once the server holds kIntoFile bytes of photo killIn (1 = the first).
    struct TKillPoint {
        const char* name;
        int holdAfter = 0;
        int killIn = 0;
        int sentBefore = 0; // files the record counts as sent when the program is killed
    };
    static constexpr qint64 kIntoFile = 1000000;

    // Runs the order in a child program and kills it at point; the order's ID, empty when the
    // child ended before.
    QString SendAndKill(TFtpServer& server, const TKillPoint& point)
    {
        QProcess child;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("TMPDIR", childTemp.path()); // its photos and working copies
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        child.setProcessEnvironment(environment);
        child.start(QStringLiteral(ORDER_KILL_CHILD),
            { app.Path(), QString::number(server.Port()), QString::number(point.holdAfter) });
        QString id;
        bool killed = false;
        QElapsedTimer clock;
        clock.start();
        while (!killed && child.state() != QProcess::NotRunning && clock.elapsed() < 180000) {
            child.waitForReadyRead(50);
            while (child.canReadLine()) {
                const QString line = QString::fromUtf8(child.readLine()).trimmed();
                if (line.startsWith("order "))
                    id = line.mid(6);
                else if (line.startsWith("outcome ") || line.startsWith("error "))
                    ADD_FAILURE() << "the child got to its end: " << line.toStdString();
                killed = killed || line == "holding";
            }
            if (point.killIn > 0 && !id.isEmpty())
                killed = killed || FileSize64(server.Orders(RemotePhoto(id, point.killIn))) >= kIntoFile;
        }
        EXPECT_TRUE(killed) << child.readAllStandardError().toStdString();
        child.kill(); // SIGKILL
        child.waitForFinished(30000);
        if (point.killIn > 0) {
            // The server notes the cut upload when it sees its data connection close; what the
            // socket's buffers held arrives meanwhile, but not the whole poster.
            EXPECT_TRUE(server.Lab().WaitForOutput("FTP UPLOAD /orders/" + RemotePhoto(id, point.killIn), 30000))
                << server.Lab().Output().toStdString();
            const std::vector<TUnfinishedOrder> unfinished = FindUnfinishedOrders();
            if (!unfinished.empty()) {
                EXPECT_LT(FileSize64(server.Orders(RemotePhoto(id, point.killIn))),
                    unfinished[0].files.at(point.killIn - 1).size)
                    << "the kill cut the photo";
            }
        }
        return id;
    }

    // For each file on the server, the bytes its uploads carried in all: "FTP UPLOAD /path from
    // OFFSET: N bytes".
    static std::map<QString, qint64> UploadedBytes(const QString& log)
    {
        static const QRegularExpression upload(
            QStringLiteral("^FTP UPLOAD /orders/(\\S+) from \\d+: (\\d+) bytes"), QRegularExpression::MultilineOption);
        std::map<QString, qint64> bytes;
        for (auto it = upload.globalMatch(log); it.hasNext();) {
            const QRegularExpressionMatch match = it.next();
            bytes[match.captured(1)] += match.captured(2).toLongLong();
        }
        return bytes;
    }

    ScopedAppDir app;
    QTemporaryDir childTemp;
    TProjectFixture f; // this run's program: its project is not the order's
};

TEST_F(OrderKillTest, KilledOrderIsFinishedAtTheNextStart)
{
    const TKillPoint points[] = {
        { .name = "during the second photo, the poster", .killIn = kKillTestPoster, .sentBefore = 1 },
        { .name = "between the first and the second photo", .holdAfter = 1, .sentBefore = 1 },
        { .name = "before the metadata", .holdAfter = kKillTestPhotos, .sentBefore = kKillTestPhotos },
    };
    for (const TKillPoint& point : points) {
        SCOPED_TRACE(point.name);
        TFtpServer server(point.killIn > 0 ? kSlowLine : QStringList {});
        ASSERT_TRUE(server.Started());
        const QString id = SendAndKill(server, point);
        ASSERT_FALSE(id.isEmpty());
        const QString metadata = id.toLower() + "_metadata.txt";
        EXPECT_FALSE(QFile::exists(server.Orders(metadata))) << "the lab has no order yet";

        // The next start.
        UseKillTestLab(f.engine, f.config, server.Port());
        const std::vector<TUnfinishedOrder> unfinished = FindUnfinishedOrders();
        ASSERT_EQ(unfinished.size(), 1u);
        EXPECT_EQ(UnfinishedOrderQuestion(unfinished[0]),
            QStringLiteral("Dokończyć wysyłanie zlecenia %1 (wysłano %2 z %3 plików) ?")
                .arg(id, QString::number(point.sentBefore), QString::number(kKillTestPhotos + 1)));
        TAnsweringListener listener;
        TOrderRun run(*f.project, f.engine, f.formats, {}, listener);
        EXPECT_EQ(run.Resume(unfinished[0]), TOrderOutcome::Sent);
        EXPECT_EQ(listener.messages,
            QStringList {
                QStringLiteral("Zlecenie zostało pomyślnie wysłane !\rWyczyścić zlecenie z wysłanych zdjęć ?") });
        EXPECT_EQ(listener.pages.size(), 1);
        EXPECT_TRUE(listener.pages.value(0).endsWith("?id=" + id + "&sign=" + MD5Hex("klucz" + id + "jan")));

        const LabRun check = Lab({ "check-order", server.Orders(), id });
        EXPECT_EQ(check.exitCode, 0) << check.out.toStdString() << check.err.toStdString();
        const std::map<QString, qint64> uploaded = UploadedBytes(server.Lab().Output());
        EXPECT_EQ(uploaded.size(), std::size_t(kKillTestPhotos + 1));
        for (const auto& [name, bytes] : uploaded)
            EXPECT_EQ(bytes, FileSize64(server.Orders(name))) << name.toStdString() << ": sent twice";
        if (point.killIn > 0) {
            const QString resumed = "FTP UPLOAD /orders/" + RemotePhoto(id, point.killIn) + " from [1-9]";
            EXPECT_TRUE(server.Lab().Output().contains(QRegularExpression(resumed)))
                << "the cut photo went on: " << server.Lab().Output().toStdString();
        }

        EXPECT_TRUE(QDir(app.Path("orders")).isEmpty());
        EXPECT_TRUE(FindUnfinishedOrders().empty());
        THistory entry;
        ASSERT_TRUE(entry.LoadEntry(app.Path("history/" + unfinished[0].historyId + "_hist.dat")));
        EXPECT_EQ(entry.GetValue("oid"), id);
        EXPECT_EQ(entry.GetValue("ordersend"), "1");
        QDir(app.Path("history")).removeRecursively();
    }
}

TEST_F(OrderKillTest, DroppedOrderLeavesNothingBehind)
{
    TFtpServer server(kSlowLine);
    ASSERT_TRUE(server.Started());
    const QString id = SendAndKill(server, { .name = "during the poster", .killIn = kKillTestPoster });
    ASSERT_FALSE(id.isEmpty());
    EXPECT_EQ(QDir(server.Orders()).entryList(QDir::Files).size(), 2) << "a photo and a part of the next";

    UseKillTestLab(f.engine, f.config, server.Port());
    const std::vector<TUnfinishedOrder> unfinished = FindUnfinishedOrders();
    ASSERT_EQ(unfinished.size(), 1u);
    TAnsweringListener listener;
    TOrderRun(*f.project, f.engine, f.formats, {}, listener).Discard(unfinished[0]);
    EXPECT_TRUE(listener.messages.isEmpty());
    EXPECT_EQ(QDir(server.Orders()).entryList(QDir::Files), QStringList {});
    EXPECT_TRUE(QDir(app.Path("orders")).isEmpty());
    EXPECT_TRUE(FindUnfinishedOrders().empty());
}

} // namespace
