// Orders sent over the demo lab's simulated customer line (serve.py --line-*): a capped line
// that drops, and a line that stalls.
#include "order/orderupload.h"

#include "core/core.h"
#include "core/coreobjects.h"
#include "lab/vdengine.h"
#include "net/ftpclient.h"
#include "net/ftpconnect.h"
#include "tests/support/ftpserver.h"
#include "tests/support/testsupport.h"
#include "tests/support/tlscerts.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class OrderLineTest : public testing::Test {
protected:
    // photos files of photoBytes each and the metadata file, the server started with the line;
    // with tls, the server requires TLS and the lab asks for it.
    void Start(const QStringList& line, int photos, qint64 photoBytes, int timeoutMs, bool tls = false)
    {
        QStringList switches = line;
        if (tls) {
            ASSERT_TRUE(MakeTestCertificates(certificateFolder_.path(), certificates_));
            store_ = std::make_unique<TScopedCertStore>(certificates_.caFile);
            switches << "--ftp-tls-cert" << certificates_.serverPem << "--ftp-tls-required";
            engine_.tls = 2;
        }
        server_ = std::make_unique<TFtpServer>(switches);
        ASSERT_TRUE(server_->Started());
        server_->PointEngineAt(engine_);
        config_.timout = timeoutMs;
        Core().engine = &engine_;
        Core().config = &config_;
        for (int i = 1; i <= photos; ++i) {
            files_ << folder_.filePath(QStringLiteral("DL0001_%1.jpg").arg(i, 5, 10, QChar(u'0')));
            ASSERT_TRUE(WritePatternFile(files_.back(), photoBytes + i));
        }
        files_ << folder_.filePath("DL0001_metadata.txt");
        ASSERT_TRUE(WriteFileBytes(files_.back(), "oid=DL0001\r\n"));
        ASSERT_TRUE(ConnectFtp(client_, engine_.orderpath).ok);
    }
    void TearDown() override
    {
        Core().engine = nullptr;
        Core().config = nullptr;
    }
    TUploadResult Upload()
    {
        TUploadListener listener;
        listener.error = [this](const QString& message) { errors_ << message; };
        return UploadOrder(client_, files_, engine_.orderpath, listener);
    }
    // Bytes the server received in all, over every upload's data connection.
    qint64 BytesReceived()
    {
        static const QRegularExpression upload(QStringLiteral("FTP UPLOAD \\S+ from \\d+: (\\d+) bytes"));
        qint64 total = 0;
        for (auto match = upload.globalMatch(server_->Lab().Output()); match.hasNext();)
            total += match.next().captured(1).toLongLong();
        return total;
    }
    bool ArrivedWhole() const
    {
        for (const QString& file : files_)
            if (ReadFileBytes(server_->Orders(QFileInfo(file).fileName().toLower())) != ReadFileBytes(file))
                return false;
        return true;
    }

    QTemporaryDir folder_;
    QTemporaryDir certificateFolder_;
    TTestCertificates certificates_;
    std::unique_ptr<TScopedCertStore> store_;
    std::unique_ptr<TFtpServer> server_;
    TEngine engine_;
    TConfig config_;
    TFtpClient client_;
    QStringList files_;
    QStringList errors_;
};

class OrderLineTls : public OrderLineTest, public testing::WithParamInterface<bool> { };

// 50 photos over a 2 MB/s line with 10 ms round trips that drops ten times, in plain text and
// over TLS: every photo arrives whole, and what broke off goes on from the server's copy
// instead of again.
TEST_P(OrderLineTls, ACappedLineThatDropsTenTimesDeliversTheWholeOrder)
{
    Start({ "--line-rate", "2000000", "--line-delay", "10", "--line-drops", "10", "--line-drop-bytes", "100000-400000",
              "--line-seed", "7" },
        50, 100000, 5000, GetParam());
    const TUploadResult result = Upload();
    EXPECT_TRUE(result.sent);
    EXPECT_TRUE(errors_.isEmpty()) << errors_.join(" | ").toStdString();
    EXPECT_TRUE(ArrivedWhole());
    const QString output = server_->Lab().Output();
    EXPECT_EQ(output.count("FTP LINE DROP"), 10);
    EXPECT_EQ(result.failures, 10);
    EXPECT_LT(BytesReceived() - result.totalBytes, qint64(2) << 20) << "bytes the server received twice";
    EXPECT_GT(result.resumedBytes, 0);
    EXPECT_EQ(client_.Security().data, GetParam());
}

INSTANTIATE_TEST_SUITE_P(Line, OrderLineTls, testing::Bool(),
    [](const testing::TestParamInfo<bool>& tls) { return tls.param ? "Tls" : "Plain"; });

// A line that stops moving data: every attempt times out and none moves the photo on, so the
// order ends with the too-many-errors message after five of them, well within its deadline.
TEST_F(OrderLineTest, AStalledLineEndsInTooManyErrors)
{
    Start({ "--line-stall", "250000" }, 5, 100000, 1000);
    QElapsedTimer elapsed;
    elapsed.start();
    const TUploadResult result = Upload();
    EXPECT_FALSE(result.sent) << server_->Lab().Output().toStdString();
    ASSERT_FALSE(errors_.isEmpty());
    EXPECT_TRUE(errors_.back().startsWith(QStringLiteral("Zbyt wiele błędów podczas wysyłania zlecenia !")));
    EXPECT_GE(result.failures, kMaxUploadFailures);
    // Each attempt waits out at most a few time-outs (the data, the reply, the reconnection).
    EXPECT_LT(elapsed.elapsed(), (result.failures + 1) * 4 * 1000);
    EXPECT_TRUE(server_->Lab().Output().contains("FTP LINE STALL"));
}

} // namespace
