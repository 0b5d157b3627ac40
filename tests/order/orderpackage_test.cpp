// The order package on a real project: parallel rendering equal to the one-at-a-time render,
// the file lists with and without packing, the ZIP, the metadata, clean-up on every path, and
// the lab's check of what arrives (vendaro-lab check-order).
#include "order/orderpackage.h"

#include "core/log.h"
#include "core/textutils.h"
#include "imaging/jpeginfo.h"
#include "imaging/jpegsave.h"
#include "order/history.h"
#include "order/ordercheck.h"
#include "order/orderzip.h"
#include "tests/project/projectfixture.h"
#include "tests/support/testsupport.h"
#include "tests/tools/labrun.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

constexpr int kPhotos = 3;

class OrderPackageTest : public testing::Test {
protected:
    void SetUp() override
    {
        LogStore().Clear();
        for (int i = 0; i < kPhotos; ++i) {
            ASSERT_TRUE(
                project().AddPhoto(fixture_.WritePhoto(QStringLiteral("p%1.jpg").arg(i + 1), 900 - 100 * i, 600)));
            project().SetFormat(i, kFormat10x15);
        }
        Corrections turned = project().GetCorrections(1);
        turned.rotation = 1;
        project().SetCorrections(1, turned);
        listener_.progress = [this](int percent) { progress_ << percent; };
        listener_.timeLeft = [this](const QString& text) { timeLeft_ << text; };
        listener_.showRendered = [this](const QImage& image) { shown_ << image.size(); };
        listener_.refreshStats = [this] { ++refreshes_; };
    }

    TVDImage& project() { return *fixture_.project; }

    // InitOrder and RenderOrderPhotos, expected to succeed.
    void MakeOrder(bool pack)
    {
        fixture_.engine.pack = pack;
        order_.Reset();
        ASSERT_TRUE(order_.InitOrder(project(), QStringLiteral("%data8%"), history_).ok);
        ASSERT_TRUE(order_.RenderOrderPhotos(project(), fixture_.engine.outputdpi, history_, listener_).ok);
        if (pack) {
            progress_.clear();
            order_.PackOrder(listener_);
        }
        TOrderCustomer customer;
        customer.payCash = true;
        ASSERT_TRUE(order_.WriteMetadata(project(), fixture_.engine, fixture_.formats, customer).ok);
    }

    QString OrderFile(const QString& suffix) const { return order_.orderDir + "/" + order_.orderId + suffix; }

    TProjectFixture fixture_;
    ScopedAppDir app_;
    QTemporaryDir temp_;
    ScopedEnv tmpdir_ { "TMPDIR", temp_.path() };
    THistory history_;
    TOrder order_;
    TOrderListener listener_;
    QList<int> progress_;
    QStringList timeLeft_;
    QList<QSize> shown_;
    int refreshes_ = 0;
};

TEST_F(OrderPackageTest, ParallelRenderEqualsOneAtATime)
{
    MakeOrder(false);
    THistory serialHistory;
    serialHistory.StartEntry();
    QTemporaryDir serial;
    for (int i = 0; i < kPhotos; ++i) {
        QImage picture;
        project().RenderOutput(i, picture);
        const QString path = serial.filePath(QStringLiteral("%1.jpg").arg(i));
        ASSERT_TRUE(SaveJpeg(picture.convertToFormat(QImage::Format_BGR888), path, 100)); // the 24-bit copy
        ASSERT_TRUE(StampJpegDensity(path, 300));
        EXPECT_EQ(ReadFileBytes(order_.orderFiles[i]), ReadFileBytes(path)) << i;
        serialHistory.AddThumbnail(picture);
    }
    EXPECT_EQ(history_.page, serialHistory.page); // thumbnails in project order
    EXPECT_EQ(shown_, (QList<QSize> { { 1795, 1205 }, { 1795, 1205 }, { 1795, 1205 } }));
    EXPECT_EQ(progress_, (QList<int> { 33, 66, 100 }));
    ASSERT_EQ(timeLeft_.size(), kPhotos + 1);
    EXPECT_TRUE(timeLeft_[0].endsWith(" +++"));
    EXPECT_EQ(timeLeft_.last(), "nieznany.");
    EXPECT_EQ(order_.photosDone, kPhotos);
    EXPECT_EQ(order_.orderRawSize, int64_t(kPhotos) * 1795 * 1205 * 3);
    const QString first = order_.orderId + "_00001.jpg";
    EXPECT_TRUE(LogHasLine("Saving \"" + first + "\" ...", 0));
    EXPECT_TRUE(LogHasLine("Order ID: " + order_.orderId, 0));
    EXPECT_TRUE(LogHasLine("tmp: " + order_.orderDir, 0));
    EXPECT_TRUE(LogHasLine("-= Initializing order =-", 1));
}

TEST_F(OrderPackageTest, FilesWithoutPacking)
{
    MakeOrder(false);
    EXPECT_TRUE(QFileInfo(order_.orderDir).fileName().startsWith("VDOTMP."));
    EXPECT_EQ(QFileInfo(order_.orderDir).absolutePath(), app_.Path("orders")); // outlives a reboot, unlike /tmp
    struct stat info { };
    ASSERT_EQ(stat(QFile::encodeName(order_.orderDir).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);
    EXPECT_EQ(order_.orderFiles,
        (QStringList {
            OrderFile("_00001.jpg"), OrderFile("_00002.jpg"), OrderFile("_00003.jpg"), OrderFile("_metadata.txt") }));
    int64_t photos = 0, sources = 0;
    for (int i = 0; i < kPhotos; ++i) {
        photos += QFileInfo(order_.orderFiles[i]).size();
        sources += QFileInfo(project().Photo(i).sourcePath).size();
    }
    EXPECT_EQ(order_.orderSize, photos);
    EXPECT_EQ(order_.origSize, sources);
    EXPECT_EQ(order_.sourceRaw, int64_t(900 * 600 + 800 * 600 + 700 * 600) * 3);
    EXPECT_TRUE(ReadFileBytes(OrderFile("_metadata.txt")).contains("\r\nsize=" + QByteArray::number(photos) + "\r\n"));
    EXPECT_TRUE(CheckOrder(order_.orderDir, order_.orderId).ok);

    order_.RecordHistory(history_);
    TOrder::MarkSent(history_);
    THistory read;
    ASSERT_TRUE(read.LoadEntry(history_.EntryPath()));
    EXPECT_EQ(read.GetValue("oid"), order_.orderId);
    EXPECT_EQ(read.lines.last(), "ordersend=1");
    EXPECT_TRUE(QFile::exists(history_.PagePath(1)));

    order_.CleanupOrder();
    EXPECT_TRUE(order_.orderFiles.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(order_.orderDir));
}

TEST_F(OrderPackageTest, PackedOrderHasABareNamedDeflatedZip)
{
    MakeOrder(true);
    const QString zip = OrderFile("_pack.zip");
    EXPECT_EQ(order_.orderFiles.size(), kPhotos + 2);
    EXPECT_EQ(order_.orderFiles[kPhotos], zip);
    EXPECT_EQ(order_.orderFiles.last(), OrderFile("_metadata.txt"));
    EXPECT_EQ(order_.orderSize, QFileInfo(zip).size());
    EXPECT_EQ(progress_.first(), 0);
    EXPECT_EQ(progress_.last(), 100);
    const QStringList lines = SplitTextLines(QString::fromLatin1(ReadFileBytes(OrderFile("_metadata.txt"))));
    EXPECT_TRUE(lines.contains("size=" + QString::number(order_.orderSize)));
    EXPECT_TRUE(lines.contains("pack=1"));

    QProcess unzip;
    unzip.start(QStringLiteral("unzip"), { "-v", zip });
    ASSERT_TRUE(unzip.waitForFinished(10000));
    const QString listing = QString::fromUtf8(unzip.readAllStandardOutput());
    for (int n = 1; n <= kPhotos; ++n)
        EXPECT_TRUE(QRegularExpression(QStringLiteral("Defl:X .* %1_0000%2\\.jpg\\n").arg(order_.orderId).arg(n))
                        .match(listing)
                        .hasMatch())
            << listing.toStdString();
    EXPECT_FALSE(listing.contains(QRegularExpression(QStringLiteral("/[^\\n]*\\.jpg"))));

    const TOrderVerdict verdict = CheckOrder(order_.orderDir, order_.orderId);
    EXPECT_TRUE(verdict.ok) << verdict.text.toStdString();
    order_.CleanupOrder();
    EXPECT_FALSE(QFileInfo::exists(order_.orderDir));
}

TEST(OrderZipTest, CompressedKindsAreStored)
{
    for (const char* name : { "a.GIF", "b.png", "c.z", "d.zip", "e.tgz", "f.Rar", "g.gzip", "h.jar", "i.lha" })
        EXPECT_TRUE(StoredUncompressed(name)) << name;
    for (const char* name : { "a.jpg", "b.jpeg", "c.txt", "zip", "d.zipx", "e" })
        EXPECT_FALSE(StoredUncompressed(name)) << name;
}

TEST_F(OrderPackageTest, SaveFailureStopsAndLeavesNoStrayFiles)
{
    order_.Reset();
    ASSERT_TRUE(order_.InitOrder(project(), QStringLiteral("%data%"), history_).ok);
    ASSERT_TRUE(QDir().mkdir(OrderFile("_00002.jpg"))); // a folder where photo 2 goes
    const TOrderStep step = order_.RenderOrderPhotos(project(), 300, history_, listener_);
    EXPECT_FALSE(step.ok);
    EXPECT_TRUE(order_.failed);
    EXPECT_EQ(step.message, "Nie można utworzyć pliku tymczasowego !");
    EXPECT_TRUE(LogHasLine("Unable to save: " + OrderFile("_00002.jpg"), 0));
    EXPECT_EQ(order_.orderFiles, QStringList { OrderFile("_00001.jpg") });
    order_.CleanupOrder();
    EXPECT_EQ(QDir(order_.orderDir).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
        QStringList { order_.orderId + "_00002.jpg" }); // photo 3, rendered meanwhile, is gone too
}

TEST_F(OrderPackageTest, OversizedSheetIsRefusedBeforeRendering)
{
    project().SetFormat(2, kFormat30x45);
    order_.Reset();
    ASSERT_TRUE(order_.InitOrder(project(), QStringLiteral("%data%"), history_).ok);
    fixture_.engine.outputdpi = 3000; // 10x15 can be made, 30x45 cannot
    const TOrderStep step = order_.RenderOrderPhotos(project(), 3000, history_, listener_);
    EXPECT_FALSE(step.ok);
    EXPECT_EQ(step.message, project().OutputSheetProblem(2));
    EXPECT_TRUE(step.message.contains("30x45"));
    EXPECT_TRUE(order_.orderFiles.isEmpty());
    EXPECT_TRUE(QDir(order_.orderDir).isEmpty());
    order_.CleanupOrder();
}

TEST_F(OrderPackageTest, UnwritableOrdersFolderFails)
{
    WriteFileBytes(app_.Path("orders"), "not a folder");
    order_.Reset();
    const TOrderStep step = order_.InitOrder(project(), QStringLiteral("%data%"), history_);
    EXPECT_FALSE(step.ok);
    EXPECT_EQ(step.message, "Nie można utworzyć katalogu tymczasowego !");
}

// What a lab sees: the order's files copied into its folder, then damaged one way or another.
TEST_F(OrderPackageTest, CheckOrderCommandOnGoodAndBrokenOrders)
{
    MakeOrder(false);
    const QString id = order_.orderId;
    const auto copyOrder = [this](const QString& folder, bool lowerCase) {
        for (const QString& path : std::as_const(order_.orderFiles)) {
            const QString name = QFileInfo(path).fileName();
            QFile::copy(path, folder + "/" + (lowerCase ? name.toLower() : name));
        }
    };
    {
        QTemporaryDir lab;
        copyOrder(lab.path(), true);
        const LabRun run = Lab({ "check-order", lab.path(), id });
        EXPECT_EQ(run.exitCode, 0) << run.out.toStdString();
        EXPECT_EQ(
            run.out, QStringLiteral("%1: complete: 3 photos, 3 prints, %2 bytes\n").arg(id).arg(order_.orderSize));
    }
    const struct {
        const char* what;
        std::function<void(const QString&)> damage;
        QString reason;
    } cases[] = {
        { "no metadata", [&](const QString& f) { QFile::remove(f + "/" + id + "_metadata.txt"); },
            "no " + id + "_metadata.txt in " },
        { "a photo missing", [&](const QString& f) { QFile::remove(f + "/" + id + "_00002.jpg"); },
            "missing " + id + "_00002.jpg" },
        { "a photo grown",
            [&](const QString& f) {
                QFile file(f + "/" + id + "_00003.jpg");
                file.open(QIODevice::Append);
                file.write("x");
            },
            QStringLiteral("size=%1 but the files hold %2 bytes").arg(order_.orderSize).arg(order_.orderSize + 1) },
        { "another order's metadata",
            [&](const QString& f) {
                const QString path = f + "/" + id + "_metadata.txt";
                WriteFileBytes(path, ReadFileBytes(path).replace("oid=" + id.toLatin1(), "oid=OTHER"));
            },
            "the metadata names the order OTHER" },
    };
    for (const auto& c : cases) {
        QTemporaryDir lab;
        copyOrder(lab.path(), false);
        c.damage(lab.path());
        const LabRun run = Lab({ "check-order", lab.path(), id });
        EXPECT_EQ(run.exitCode, 1) << c.what;
        EXPECT_TRUE(run.out.startsWith(id + ": broken: " + c.reason)) << c.what << ": " << run.out.toStdString();
        EXPECT_EQ(run.out.count('\n'), 1) << c.what;
    }
}

TEST_F(OrderPackageTest, CheckOrderFindsADamagedZip)
{
    MakeOrder(true);
    const QString zip = OrderFile("_pack.zip");
    QByteArray bytes = ReadFileBytes(zip);
    bytes[bytes.size() / 2] = char(bytes[bytes.size() / 2] ^ 0x55); // a flipped byte inside an entry
    WriteFileBytes(zip, bytes);
    const TOrderVerdict verdict = CheckOrder(order_.orderDir, order_.orderId);
    EXPECT_FALSE(verdict.ok);
    EXPECT_TRUE(verdict.text.contains("does not read")) << verdict.text.toStdString();
    order_.CleanupOrder();
}

} // namespace

namespace {

bool LogHasLineStarting(const QString& start, int level)
{
    const TLogStore& store = LogStore();
    for (int i = 0; i < store.Lines().size(); ++i)
        if (store.Lines()[i].startsWith(start) && store.Levels().Get(i) == level)
            return true;
    return false;
}

// libzip's failures are logged, never left silent, and leave no archive behind.
TEST(OrderZipTest, FailuresAreLogged)
{
    QTemporaryDir folder;
    const QString photo = folder.filePath("a.jpg");
    WriteFileBytes(photo, "not really a picture");
    const struct {
        QString zip;
        QStringList files;
        QString logged;
    } cases[] = {
        { folder.filePath("gone/o.zip"), { photo }, "can't write the archive: " },
        { folder.filePath("o.zip"), { folder.filePath("missing.jpg") }, "can't write the archive: Read error" },
    };
    for (const auto& c : cases) {
        LogStore().Clear();
        EXPECT_FALSE(WriteOrderZip(c.zip, c.files, {}));
        EXPECT_TRUE(LogHasLineStarting("PackOrder: " + c.zip + ": " + c.logged, 3)) << c.logged.toStdString();
        EXPECT_FALSE(QFile::exists(c.zip));
    }
}

} // namespace
