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
#include "tests/support/ftpserver.h"
#include "tests/support/testsupport.h"
#include "tests/tools/labrun.h"

#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <map>

namespace {

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
    TKillTarget Target(TFtpServer& server) const
    {
        return { app.Path(), childTemp.path(), &server.Lab(), server.Orders(), TFtpServer::kUser, TFtpServer::kPassword,
            server.Port() };
    }
    void UseLab(const TFtpServer& server)
    {
        UseKillTestLab(f.engine, f.config, server.Port(), TFtpServer::kUser, TFtpServer::kPassword);
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
        TFtpServer server(point.killIn > 0 ? kKillTestSlowLine : QStringList {});
        ASSERT_TRUE(server.Started());
        const QString id = SendAndKill(Target(server), point);
        ASSERT_FALSE(id.isEmpty());
        const QString metadata = id.toLower() + "_metadata.txt";
        EXPECT_FALSE(QFile::exists(server.Orders(metadata))) << "the lab has no order yet";

        // The next start.
        UseLab(server);
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
    TFtpServer server(kKillTestSlowLine);
    ASSERT_TRUE(server.Started());
    const QString id = SendAndKill(Target(server), { .name = "during the poster", .killIn = kKillTestPoster });
    ASSERT_FALSE(id.isEmpty());
    EXPECT_EQ(QDir(server.Orders()).entryList(QDir::Files).size(), 2) << "a photo and a part of the next";

    UseLab(server);
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
