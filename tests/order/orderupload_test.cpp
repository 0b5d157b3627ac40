#include "order/orderupload.h"

#include "core/core.h"
#include "core/coreobjects.h"
#include "core/log.h"
#include "lab/vdengine.h"
#include "net/ftpclient.h"
#include "net/ftpconnect.h"
#include "tests/order/uploadmessages.h"
#include "tests/support/ftpserver.h"
#include "tests/support/testsupport.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// What the send-order window would have shown.
struct Shown {
    QStringList notices;
    QStringList errors;
    QList<qint64> sent;
    QList<TUploadProgress> progress;
    int begins = 0;
    int ends = 0;

    TUploadListener Listener()
    {
        return { [this](qint64) { ++begins; }, [this](const TUploadProgress& p) { progress << p; }, [this] { ++ends; },
            [this](int, qint64 bytes) { sent << bytes; },
            [this](int failures, const QString& notice) {
                EXPECT_EQ(failures, notices.size() + 1);
                notices << notice;
            },
            [this](const QString& message) { errors << message; } };
    }
};

// An order of two photos and its metadata, named with an upper-case order ID as "%data8%"
// makes them, sent to the demo lab with the given faults.
class UploadOrderTest : public testing::Test {
protected:
    void Start(const QStringList& faults = {}, int timeoutMs = 5000)
    {
        server_ = std::make_unique<TFtpServer>(faults);
        ASSERT_TRUE(server_->Started());
        LogStore().Clear();
        server_->PointEngineAt(engine_);
        config_.timout = timeoutMs;
        Core().engine = &engine_;
        Core().config = &config_;
        files_ = { folder_.filePath("3FA9C07B_00001.jpg"), folder_.filePath("3FA9C07B_00002.jpg"),
            folder_.filePath("3FA9C07B_metadata.txt") };
        ASSERT_TRUE(WritePatternFile(files_[0], 150000));
        ASSERT_TRUE(WritePatternFile(files_[1], 200000));
        ASSERT_TRUE(WriteFileBytes(files_[2], "oid=3FA9C07B\r\n"));
        ASSERT_TRUE(ConnectFtp(client_, engine_.orderpath).ok);
    }
    void TearDown() override
    {
        Core().engine = nullptr;
        Core().config = nullptr;
    }
    TUploadResult Upload() { return UploadOrder(client_, files_, engine_.orderpath, shown_.Listener()); }
    QString Remote(int i) const { return server_->Orders(QFileInfo(files_[i]).fileName().toLower()); }
    QStringList OnServer() const { return QDir(server_->Orders()).entryList(QDir::Files, QDir::Name); }
    bool ArrivedWhole(int i) const { return ReadFileBytes(Remote(i)) == ReadFileBytes(files_[i]); }

    QTemporaryDir folder_;
    std::unique_ptr<TFtpServer> server_;
    TEngine engine_;
    TConfig config_;
    TFtpClient client_;
    QStringList files_;
    Shown shown_;
};

TEST_F(UploadOrderTest, SendsEveryFileUnderItsLowerCaseNameMetadataLast)
{
    Start();
    const TUploadResult result = Upload();
    EXPECT_TRUE(result.sent);
    EXPECT_EQ(result.failures, 0);
    EXPECT_EQ(result.totalBytes, 150000 + 200000 + 14);
    EXPECT_EQ(result.sentBytes, result.totalBytes);
    EXPECT_EQ(OnServer(), (QStringList { "3fa9c07b_00001.jpg", "3fa9c07b_00002.jpg", "3fa9c07b_metadata.txt" }));
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(ArrivedWhole(i)) << i;
    EXPECT_EQ(ReadFileBytes(Remote(2)), "oid=3FA9C07B\r\n"); // the content keeps the upper-case ID
    const QString output = server_->Lab().Output();
    EXPECT_LT(output.indexOf("FTP RECEIVED /orders/3fa9c07b_00002.jpg"),
        output.indexOf("FTP RECEIVED /orders/3fa9c07b_metadata.txt"));

    EXPECT_EQ(shown_.sent, (QList<qint64> { 150000, 350000, 350014 }));
    EXPECT_EQ(shown_.begins, 3);
    EXPECT_EQ(shown_.ends, 3);
    ASSERT_FALSE(shown_.progress.isEmpty());
    EXPECT_EQ(shown_.progress.back().doneBytes, result.totalBytes);
    EXPECT_EQ(shown_.progress.back().percent, 100);
    EXPECT_TRUE(shown_.notices.isEmpty());
    EXPECT_TRUE(shown_.errors.isEmpty());
    EXPECT_FALSE(client_.Connected());
}

// Four refusals of the first file, then it and the rest go through.
TEST_F(UploadOrderTest, FirstFileFailingFourTimesThenSucceeding)
{
    Start({ "--fail-upload", "1", "--fail-upload", "2", "--fail-upload", "3", "--fail-upload", "4" });
    const TUploadResult result = Upload();
    EXPECT_TRUE(result.sent);
    EXPECT_EQ(result.failures, 4);
    EXPECT_EQ(OnServer().size(), 3);
    EXPECT_TRUE(ArrivedWhole(0) && ArrivedWhole(1) && ArrivedWhole(2));
    QStringList notices;
    for (int n = 1; n <= 4; ++n)
        notices << QStringLiteral("Wystąpił błąd połączenia, próba ponowienia: %1").arg(n);
    EXPECT_EQ(shown_.notices, notices);
    EXPECT_TRUE(shown_.errors.isEmpty());
    EXPECT_TRUE(LogHasLine(QStringLiteral("FTP ERROR: Upload of 3fa9c07b_00001.jpg refused: 451 Requested action "
                                          "aborted: injected failure."),
        0));
    EXPECT_TRUE(LogHasLine(QStringLiteral("FTP ERROR: 451 Requested action aborted: injected failure."), 0));
    EXPECT_TRUE(LogHasLine(QStringLiteral("FTP ready."), 0)); // the reconnections
}

// The fifth failure stops the order wherever it falls: here on the second photo, after the
// first one needed four attempts. No metadata reaches the lab.
TEST_F(UploadOrderTest, FifthFailureStopsTheOrderWithoutMetadata)
{
    Start({ "--fail-upload", "1", "--fail-upload", "2", "--fail-upload", "3", "--fail-upload", "5", "--fail-upload",
        "6" });
    const TUploadResult result = Upload();
    EXPECT_FALSE(result.sent);
    EXPECT_EQ(result.failures, 5);
    EXPECT_EQ(result.sentBytes, 150000);
    EXPECT_EQ(shown_.errors, QStringList { kTooManyErrors });
    EXPECT_EQ(shown_.notices.size(), 4);
    EXPECT_EQ(OnServer(), QStringList { "3fa9c07b_00001.jpg" }); // what was sent stays
    EXPECT_FALSE(client_.Connected());
}

TEST_F(UploadOrderTest, FailedReconnectionStopsTheOrder)
{
    Start({ "--fail-upload", "1", "--refuse-login-after", "1" });
    const TUploadResult result = Upload();
    EXPECT_FALSE(result.sent);
    EXPECT_EQ(result.failures, 1);
    EXPECT_EQ(shown_.notices, QStringList { "Wystąpił błąd połączenia, próba ponowienia: 1" });
    EXPECT_EQ(shown_.errors, (QStringList { kCannotConnect, kConnectionLost }));
    EXPECT_TRUE(OnServer().isEmpty());
    EXPECT_TRUE(LogHasLine(QStringLiteral("FTP connection failed."), 0));
}

// The data connection of the second photo breaks after 1000 bytes: the server keeps them, and
// the photo goes on from there after the reconnection; nothing is deleted, nothing sent twice.
TEST_F(UploadOrderTest, DroppedConnectionResumesWhereItBroke)
{
    Start({ "--drop-upload", "2=1000" });
    const TUploadResult result = Upload();
    EXPECT_TRUE(result.sent);
    EXPECT_EQ(result.failures, 1);
    EXPECT_EQ(result.resumedBytes, 1000);
    EXPECT_TRUE(ArrivedWhole(0) && ArrivedWhole(1) && ArrivedWhole(2));
    const QString output = server_->Lab().Output();
    EXPECT_TRUE(output.contains("FTP data connection dropped after 1000 bytes"));
    EXPECT_FALSE(output.contains("DELE")) << output.toStdString();
    EXPECT_TRUE(output.contains("FTP UPLOAD /orders/3fa9c07b_00002.jpg from 1000: 199000 bytes"))
        << output.toStdString();
    EXPECT_TRUE(LogHasLine(QStringLiteral("FTP: resuming 3fa9c07b_00002.jpg at 1000 bytes"), 0));
    // The bar and the statistics count the resumed bytes once.
    EXPECT_EQ(shown_.sent, (QList<qint64> { 150000, 350000, 350014 }));
    for (const TUploadProgress& p : shown_.progress)
        EXPECT_LE(p.doneBytes, result.totalBytes);
}

// The same break on a server without REST: the photo is sent again whole, from its start.
TEST_F(UploadOrderTest, DroppedConnectionWithoutRestSendsTheFileAgainWhole)
{
    Start({ "--drop-upload", "2=1000", "--no-rest" });
    const TUploadResult result = Upload();
    EXPECT_TRUE(result.sent);
    EXPECT_EQ(result.failures, 1);
    EXPECT_EQ(result.resumedBytes, 0);
    EXPECT_TRUE(ArrivedWhole(0) && ArrivedWhole(1) && ArrivedWhole(2));
    const QString output = server_->Lab().Output();
    EXPECT_TRUE(output.contains("FTP data connection dropped after 1000 bytes"));
    EXPECT_TRUE(output.contains("FTP UPLOAD /orders/3fa9c07b_00002.jpg from 0: 200000 bytes")) << output.toStdString();
    EXPECT_FALSE(LogHasLine(QStringLiteral("FTP: resuming 3fa9c07b_00002.jpg at 1000 bytes"), 0))
        << "no resume asked of a server that offers no REST";
}

// An upload an earlier run of the program began: the files it verified are taken as sent, each
// later one is looked up first. What the server holds whole is not sent again, a shorter copy
// goes on from its end, a longer one (not a part of this file) is replaced. held: bytes of each
// file on the server beforehand (-1 none, -2 the file and one byte more).
TEST_F(UploadOrderTest, UploadBegunEarlierSendsOnlyWhatTheServerLacks)
{
    struct TCase {
        const char* name;
        int verified;
        QList<qint64> held;
        QStringList uploads; // the server's "FTP UPLOAD" lines, in order
        QList<qint64> sent; // the sent bytes after each file on the server whole
        qint64 heldBytes;
        qint64 resumedBytes;
    };
    const QString photo2 = QStringLiteral("/orders/3fa9c07b_00002.jpg");
    const QString metadata = QStringLiteral("/orders/3fa9c07b_metadata.txt");
    const TCase cases[] = {
        { "the first verified, the second whole there", 1, { 150000, 200000, -1 }, { metadata + " from 0: 14 bytes" },
            { 350000, 350014 }, 200000, 0 },
        { "the first verified, the second cut short", 1, { 150000, 1000, -1 },
            { photo2 + " from 1000: 199000 bytes", metadata + " from 0: 14 bytes" }, { 350000, 350014 }, 0, 1000 },
        { "a longer file of the second's name", 1, { 150000, -2, -1 },
            { photo2 + " from 0: 200000 bytes", metadata + " from 0: 14 bytes" }, { 350000, 350014 }, 0, 0 },
        { "everything there but nothing verified", 0, { 150000, 200000, 14 }, {}, { 150000, 350000, 350014 }, 350014,
            0 },
        { "every file verified", 3, { 150000, 200000, 14 }, {}, {}, 0, 0 },
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        shown_ = {};
        Start();
        for (int i = 0; i < 3; ++i) {
            const QByteArray local = ReadFileBytes(files_[i]);
            if (c.held[i] >= 0) {
                ASSERT_TRUE(WriteFileBytes(Remote(i), local.left(c.held[i])));
            } else if (c.held[i] == -2) {
                ASSERT_TRUE(WriteFileBytes(Remote(i), local + "x"));
            }
        }
        const TUploadResult result
            = UploadOrder(client_, files_, engine_.orderpath, shown_.Listener(), { c.verified, true });
        EXPECT_TRUE(result.sent);
        EXPECT_EQ(result.failures, 0);
        EXPECT_EQ(result.sentBytes, 350014);
        EXPECT_EQ(result.heldBytes, c.heldBytes);
        EXPECT_EQ(result.resumedBytes, c.resumedBytes);
        EXPECT_EQ(shown_.sent, c.sent);
        for (int i = 0; i < 3; ++i)
            EXPECT_TRUE(ArrivedWhole(i)) << i;
        QStringList uploads;
        for (const QString& line : server_->Lab().Output().split('\n'))
            if (line.startsWith("FTP UPLOAD "))
                uploads << line.mid(11).trimmed();
        EXPECT_EQ(uploads, c.uploads);
        for (const TUploadProgress& p : shown_.progress)
            EXPECT_LE(p.doneBytes, result.totalBytes);
    }
}

// Every attempt at the first photo breaks, each after 20000 more bytes: seven failures, but the
// photo moves on each time, so the order is not given up and arrives whole.
TEST_F(UploadOrderTest, AFileThatMovesOnIsNotGivenUp)
{
    QStringList faults;
    for (int upload = 1; upload <= 7; ++upload)
        faults << "--drop-upload" << QStringLiteral("%1=20000").arg(upload);
    Start(faults);
    const TUploadResult result = Upload();
    EXPECT_TRUE(result.sent);
    EXPECT_EQ(result.failures, 7);
    EXPECT_TRUE(ArrivedWhole(0) && ArrivedWhole(1) && ArrivedWhole(2));
    EXPECT_EQ(shown_.notices.size(), 7);
    EXPECT_TRUE(shown_.errors.isEmpty());
}

// The server holds the second photo one byte short and refuses to delete it: the refusal is
// passed over, and the photo sent again replaces the short copy.
TEST_F(UploadOrderTest, RefusedDeleteOfAShortFileIsPassedOver)
{
    Start({ "--size-lie", "2", "--refuse-delete", "3fa9c07b_00002.jpg" });
    const TUploadResult result = Upload();
    EXPECT_TRUE(result.sent);
    EXPECT_EQ(result.failures, 1);
    EXPECT_EQ(shown_.notices, QStringList { QStringLiteral("Wystąpił błąd połączenia, próba ponowienia: 1") });
    EXPECT_TRUE(shown_.errors.isEmpty());
    EXPECT_TRUE(ArrivedWhole(0) && ArrivedWhole(1) && ArrivedWhole(2));
    const QString output = server_->Lab().Output();
    const qsizetype refused = output.indexOf("FTP DELETE /orders/3fa9c07b_00002.jpg refused (injected)");
    const qsizetype again = output.lastIndexOf("FTP RECEIVED /orders/3fa9c07b_00002.jpg (200000 bytes)");
    EXPECT_TRUE(refused >= 0 && again > refused) << output.toStdString();
    EXPECT_EQ(output.count("FTP LOGIN"), 2) << "one reconnection";
}

// The data connection of the first photo stalls: nothing the client sends is read. The upload
// ends in a time-out, the connection is made again and the photo is sent again whole.
TEST_F(UploadOrderTest, StalledDataConnectionTimesOutAndIsSentAgain)
{
    Start({ "--stall-upload", "1" }, 1500);
    const TUploadResult result = Upload();
    EXPECT_TRUE(result.sent);
    EXPECT_EQ(result.failures, 1);
    EXPECT_EQ(shown_.notices, QStringList { QStringLiteral("Wystąpił błąd połączenia, próba ponowienia: 1") });
    EXPECT_TRUE(shown_.errors.isEmpty());
    EXPECT_EQ(shown_.sent, (QList<qint64> { 150000, 350000, 350014 }));
    EXPECT_TRUE(ArrivedWhole(0) && ArrivedWhole(1) && ArrivedWhole(2));
    const QString output = server_->Lab().Output();
    EXPECT_TRUE(output.contains("FTP data connection stalled")) << output.toStdString();
    EXPECT_EQ(output.count("FTP LOGIN"), 2) << "one reconnection";
    EXPECT_TRUE(LogHasLine(QStringLiteral("FTP ERROR: Timeout"), 0));
}

// The server reports a size one byte short after the first upload: that file is not taken as
// sent, it is deleted and sent again.
TEST_F(UploadOrderTest, SizeMismatchCountsAsAFailedUpload)
{
    Start({ "--size-lie", "1" });
    const TUploadResult result = Upload();
    EXPECT_TRUE(result.sent);
    EXPECT_EQ(result.failures, 1);
    EXPECT_EQ(shown_.sent, (QList<qint64> { 150000, 350000, 350014 }));
    EXPECT_TRUE(ArrivedWhole(0) && ArrivedWhole(1) && ArrivedWhole(2));
    EXPECT_TRUE(LogHasLine(
        QStringLiteral("FTP ERROR: 3fa9c07b_00001.jpg holds 149999 bytes on the server instead of 150000"), 0));
    const QString output = server_->Lab().Output();
    EXPECT_EQ(output.count("FTP RECEIVED /orders/3fa9c07b_00001.jpg"), 2);
}

// A server that refuses SIZE for a file (an upload-only folder) is taken at its word.
TEST_F(UploadOrderTest, RefusedSizeLeavesTheUploadUnchecked)
{
    Start({ "--size-refuse", "2" });
    const TUploadResult result = Upload();
    EXPECT_TRUE(result.sent);
    EXPECT_EQ(result.failures, 0);
    EXPECT_TRUE(ArrivedWhole(0) && ArrivedWhole(1) && ArrivedWhole(2));
    EXPECT_TRUE(LogHasLine(QStringLiteral("FTP: 3fa9c07b_00002.jpg not checked on the server: Cannot get the size of "
                                          "3fa9c07b_00002.jpg: 550 SIZE not allowed here."),
        2));
}

TEST(UploadProgress, BytesPercentAndTimeLeft)
{
    struct Case {
        qint64 fileBytes, sentBytes, totalBytes, elapsedMs;
        qint64 doneBytes;
        int percent;
        const char* timeLeft;
    };
    const qint64 gib = qint64(1) << 30;
    const Case cases[] = {
        { 1023, 0, 10240, 500, 1023, 9, "" }, // before the first kilobyte: nothing to estimate from
        { 512, 1536, 10240, 1000, 2048, 20, "00:00:04" }, // 2 of 10 KB in 1 s: 5 s in all
        { 0, 0, 0, 0, 0, 100, "" }, // nothing to send
        { gib, 4 * gib, 6 * gib, 600000, 5 * gib, 83, "00:02:00" }, // beyond 32 bits
        { 1024, 0, 3 * 3600 * qint64(1024), 1000, 1024, 0, "02:59:59" },
    };
    for (const Case& c : cases) {
        const TUploadProgress p = UploadProgress(c.fileBytes, c.sentBytes, c.totalBytes, c.elapsedMs);
        EXPECT_EQ(p.fileBytes, c.fileBytes);
        EXPECT_EQ(p.doneBytes, c.doneBytes);
        EXPECT_EQ(p.totalBytes, c.totalBytes);
        EXPECT_EQ(p.percent, c.percent) << c.doneBytes;
        EXPECT_EQ(p.timeLeft, c.timeLeft) << c.doneBytes;
    }
}

} // namespace
