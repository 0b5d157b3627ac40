// The photo project: adding (names, folder, copies, sizes, failures), formats and crops,
// low quality, thumbnails, deleting and clearing, prices.
#include "tests/project/projectfixture.h"

#include "core/log.h"
#include "imaging/geometry.h"
#include "imaging/workingcopy.h"
#include "project/uvdimage.h"
#include "tests/support/testsupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <thread>

namespace {

class VDImageTest : public ::testing::Test {
protected:
    TProjectFixture f;
    TVDImage& project = *f.project;

    QStringList FilesInProject() const { return QDir(project.projectFolder).entryList(QDir::Files, QDir::Name); }
    int AddPhotos(int count, int width = 120, int height = 80)
    {
        for (int i = 0; i < count; ++i)
            EXPECT_TRUE(project.AddPhoto(f.WritePhoto(QStringLiteral("p%1.jpg").arg(i), width, height)));
        return project.Count();
    }
};

TEST_F(VDImageTest, AddPhotoMakesPrivateFolderCopiesAndThumbnail)
{
    const QString path = f.WritePhoto(QStringLiteral("IMG_0001.JPG"), 1000, 600);
    ASSERT_TRUE(project.AddPhoto(path));

    EXPECT_EQ(
        QFileInfo(project.projectFolder).absolutePath(), QFileInfo(f.TempFolder() + "/vendaro").absoluteFilePath());
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^VDTMP\\.[0-9A-F]{12}$"))
                    .match(QFileInfo(project.projectFolder).fileName())
                    .hasMatch());
    struct stat info { };
    ASSERT_EQ(::stat(QFile::encodeName(project.projectFolder).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);

    EXPECT_EQ(project.SourcePaths(), QStringList { path });
    EXPECT_EQ(project.Photo(0).name, path);
    EXPECT_EQ(FilesInProject(), (QStringList { QStringLiteral("IMG_0001.sbm"), QStringLiteral("prev_IMG_0001.sbm") }));
    QImage full, preview;
    project.LoadFull(0, full);
    project.LoadPreview(0, preview);
    EXPECT_EQ(full.size(), QSize(1000, 600));
    EXPECT_EQ(preview.size(), QSize(800, 480));
    int width = 0, height = 0;
    project.GetImageSize(0, width, height);
    EXPECT_EQ(QSize(width, height), QSize(1000, 600));
    EXPECT_EQ(project.Photo(0).quantity, 1);
    EXPECT_EQ(project.Photo(0).formatId, -1);
    EXPECT_FALSE(project.Photo(0).thumbPending);
    EXPECT_FALSE(project.Photo(0).selected);
    EXPECT_EQ(project.Photo(0).thumbnail.size(), QSize(140, 84));
    EXPECT_EQ(project.focus, -1);
}

TEST_F(VDImageTest, SameFileNameFromTwoFoldersGetsNumberedCopies)
{
    ASSERT_TRUE(project.AddPhoto(f.WritePhoto(QStringLiteral("a/name.jpg"), 40, 30)));
    ASSERT_TRUE(project.AddPhoto(f.WritePhoto(QStringLiteral("b/name.jpg"), 40, 30)));
    EXPECT_EQ(QFileInfo(project.Photo(0).workingPath).fileName(), QStringLiteral("name.sbm"));
    EXPECT_EQ(QFileInfo(project.Photo(1).workingPath).fileName(), QStringLiteral("name_1.sbm"));
    EXPECT_EQ(QFileInfo(project.Photo(1).previewPath).fileName(), QStringLiteral("prev_name_1.sbm"));
}

// Each copy of a name takes the next number; one freed by a deleted photo is not given again
// (the names need only be unique), so many copies of one name never search from the start.
TEST_F(VDImageTest, CopiesOfOneNameAreNumberedOnAfterADelete)
{
    for (const char* folder : { "a", "b", "c" })
        ASSERT_TRUE(project.AddPhoto(f.WritePhoto(QStringLiteral("%1/name.jpg").arg(folder), 40, 30)));
    project.Delete(1);
    ASSERT_TRUE(project.AddPhoto(f.WritePhoto(QStringLiteral("d/name.jpg"), 40, 30)));
    QStringList working, preview;
    for (const TPhoto& photo : project.Photos()) {
        working << QFileInfo(photo.workingPath).fileName();
        preview << QFileInfo(photo.previewPath).fileName();
    }
    EXPECT_EQ(working, (QStringList { "name.sbm", "name_2.sbm", "name_3.sbm" }));
    EXPECT_EQ(preview, (QStringList { "prev_name.sbm", "prev_name_2.sbm", "prev_name_3.sbm" }));
}

TEST_F(VDImageTest, SmallPhotoPreviewIsNotEnlarged)
{
    ASSERT_TRUE(project.AddPhoto(f.WritePhoto(QStringLiteral("small.jpg"), 300, 200)));
    QImage preview;
    project.LoadPreview(0, preview);
    EXPECT_EQ(preview.size(), QSize(300, 200));
}

TEST_F(VDImageTest, PhotoWithoutHeaderReaderTakesDecodedSize)
{
    ASSERT_TRUE(project.AddPhoto(f.WritePhoto(QStringLiteral("graphic.png"), 300, 200)));
    int width = 0, height = 0;
    project.GetImageSize(0, width, height);
    EXPECT_EQ(QSize(width, height), QSize(300, 200));

    f.engine.forceformat = true;
    project.SetFormat(0, kFormat10x15);
    const Corrections record = project.GetCorrections(0);
    const TRect crop = FractionsToRect(record.crop, 300, 200);
    EXPECT_GT(crop.Width(), 0);
    EXPECT_GT(crop.Height(), 0);
    EXPECT_TRUE(project.Photo(0).lowQuality); // 300 pixels for a 1795-pixel print
}

TEST_F(VDImageTest, UndecodableFileIsNotAddedAndLeavesNothing)
{
    const QString path = f.PhotoPath(QStringLiteral("broken.jpg"));
    ASSERT_TRUE(WriteFileBytes(path, QByteArray("\xFF\xD8\xFF\xE0 not really a jpeg")));
    ASSERT_TRUE(project.AddPhoto(f.WritePhoto(QStringLiteral("good.jpg"), 40, 30)));
    project.focus = 0;

    EXPECT_FALSE(project.AddPhoto(path));
    EXPECT_EQ(project.Count(), 1);
    EXPECT_EQ(project.focus, 0);
    EXPECT_EQ(FilesInProject(), (QStringList { QStringLiteral("good.sbm"), QStringLiteral("prev_good.sbm") }));
    EXPECT_FALSE(project.AddPhoto(f.PhotoPath(QStringLiteral("missing.jpg"))));
    EXPECT_EQ(project.Count(), 1);
}

// A full temporary folder: the file-size limit makes the working copy's writes fail part way
// as a full disk does.
TEST_F(VDImageTest, FullDiskLeavesNoPartialCopies)
{
    const QString path = f.WritePhoto(QStringLiteral("big.jpg"), 400, 300); // 480 000-byte working copy
    rlimit previous {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &previous), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limited = previous;
    limited.rlim_cur = 100 * 1024;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limited), 0);
    const bool added = project.AddPhoto(path);
    ::setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_FALSE(added);
    EXPECT_EQ(project.Count(), 0);
    EXPECT_TRUE(FilesInProject().isEmpty());
    EXPECT_TRUE(project.AddPhoto(path)); // with room again the same photo goes in
    EXPECT_EQ(FilesInProject().size(), 2);
}

TEST_F(VDImageTest, ForceFormatTurnsPortraitAndCropsToFormat)
{
    f.engine.forceformat = true;
    project.defaultFormat = kFormat10x15;
    ASSERT_TRUE(project.AddPhoto(f.WritePhoto(QStringLiteral("portrait.jpg"), 200, 300)));
    Corrections record = project.GetCorrections(0);
    EXPECT_EQ(record.rotation, 1);
    // Turned to 300 x 200, the 1795 x 1205 sheet's aspect is a middle 298 x 200.
    EXPECT_FLOAT_EQ(record.crop.left, 1.0f / 300);
    EXPECT_FLOAT_EQ(record.crop.top, 0.0f);
    EXPECT_FLOAT_EQ(record.crop.width, 298.0f / 300);
    EXPECT_FLOAT_EQ(record.crop.height, 1.0f);
    EXPECT_FLOAT_EQ(record.crop.right, 299.0f / 300);
    EXPECT_FLOAT_EQ(record.crop.bottom, 1.0f);
    EXPECT_EQ(project.Photo(0).thumbnail.size(), QSize(140, 94)); // the sheet's aspect

    // A crop made by hand goes when the format is assigned again.
    record.crop = { 0.1f, 0.1f, 0.2f, 0.2f, 0.3f, 0.3f };
    record.sat = 40;
    project.SetCorrections(0, record);
    project.SetFormat(0, kFormat13x18);
    record = project.GetCorrections(0);
    // The 2102 x 1500 sheet: a middle 280 x 200.
    EXPECT_FLOAT_EQ(record.crop.left, 10.0f / 300);
    EXPECT_FLOAT_EQ(record.crop.right, 290.0f / 300);
    EXPECT_FLOAT_EQ(record.crop.bottom, 1.0f);
    EXPECT_EQ(record.rotation, 1);
    EXPECT_EQ(record.sat, 40);
}

TEST_F(VDImageTest, FormatWithoutForceResetsGeometryKeepsColours)
{
    AddPhotos(1);
    Corrections record = project.GetCorrections(0);
    record.rotation = 2;
    record.crop = { 0.1f, 0.1f, 0.5f, 0.5f, 0.6f, 0.6f };
    record.inten = 30;
    record.hue1 = -90;
    record.sepia = 1;
    project.SetCorrections(0, record);
    project.SetFormat(0, kFormat10x15);
    const Corrections after = project.GetCorrections(0);
    EXPECT_EQ(after.rotation, 0);
    EXPECT_EQ(after.crop.left, kNoCrop);
    EXPECT_EQ(after.inten, 30);
    EXPECT_EQ(after.hue1, -90);
    EXPECT_EQ(after.sepia, 1);
    EXPECT_EQ(project.Photo(0).formatId, kFormat10x15);
}

TEST_F(VDImageTest, LowQualityMeasuresTheCropOrTheWholePhotoOnTheSheet)
{
    AddPhotos(1, 400, 300);
    project.SetFormat(0, kFormat13x18);
    EXPECT_EQ(project.GetCorrections(0).crop.left, kNoCrop);
    EXPECT_TRUE(project.Photo(0).lowQuality) << "no crop: the whole photo, enlarged onto 13x18";

    Corrections record = project.GetCorrections(0);
    record.crop = RectToFractions({ 0, 0, 400, 300 }, 400, 300);
    project.SetCorrections(0, record);
    EXPECT_TRUE(project.Photo(0).lowQuality);

    project.SetFormat(0, -1);
    record = project.GetCorrections(0);
    record.crop = RectToFractions({ 0, 0, 400, 300 }, 400, 300);
    project.SetCorrections(0, record);
    EXPECT_FALSE(project.Photo(0).lowQuality) << "no format: never marked";

    ASSERT_TRUE(project.AddPhoto(f.WritePhoto(QStringLiteral("big.jpg"), 1800, 1210)));
    project.SetFormat(1, kFormat10x15);
    EXPECT_FALSE(project.Photo(1).lowQuality) << "covers the 1795 x 1205 pixels of 10x15";
}

TEST_F(VDImageTest, LowQualityMeasuresTheCropOfTheTurnedPhoto)
{
    // The top half: 2000 x 500 of the photo as it lies, 1000 x 1000 once turned.
    ASSERT_TRUE(project.AddPhoto(f.WritePhoto(QStringLiteral("wide.jpg"), 2000, 1000)));
    project.SetFormat(0, kFormat10x15);
    Corrections record = project.GetCorrections(0);
    record.crop = { 0.0f, 0.0f, 1.0f, 0.5f, 1.0f, 0.5f };
    project.SetCorrections(0, record);
    EXPECT_FALSE(project.Photo(0).lowQuality);
    record.rotation = 1;
    project.SetCorrections(0, record);
    EXPECT_TRUE(project.Photo(0).lowQuality);
}

struct DeleteCase {
    int count;
    int focusBefore;
    int deleted;
    int focusAfter;
};

void PrintTo(const DeleteCase& c, std::ostream* os)
{
    *os << c.count << " photos, focus " << c.focusBefore << ", delete " << c.deleted;
}

class VDImageDeleteTest : public VDImageTest, public ::testing::WithParamInterface<DeleteCase> { };

TEST_P(VDImageDeleteTest, FocusStaysOnItsPhotoOrPassesToTheNext)
{
    const DeleteCase c = GetParam();
    AddPhotos(c.count, 24, 16);
    project.focus = c.focusBefore;
    const QString focusedName = c.focusBefore >= 0 ? project.Photo(c.focusBefore).name : QString();
    const QString deletedCopy = project.Photo(c.deleted).workingPath;
    project.Delete(c.deleted);
    EXPECT_EQ(project.Count(), c.count - 1);
    EXPECT_EQ(project.focus, c.focusAfter);
    if (c.focusBefore >= 0 && c.focusBefore != c.deleted) {
        EXPECT_EQ(project.Photo(project.focus).name, focusedName);
    }
    EXPECT_FALSE(QFileInfo::exists(deletedCopy));
    EXPECT_EQ(FilesInProject().size(), 2 * (c.count - 1));
}

INSTANTIATE_TEST_SUITE_P(Cases, VDImageDeleteTest,
    ::testing::Values(DeleteCase { 1, 0, 0, -1 }, // the only photo
        DeleteCase { 1, -1, 0, -1 }, DeleteCase { 3, 0, 0, 0 }, // the focused first: the next one
        DeleteCase { 3, 1, 1, 1 }, // the focused middle: the next one
        DeleteCase { 3, 2, 2, 1 }, // the focused last: the new last
        DeleteCase { 3, -1, 1, 0 }, // nothing focused: first remaining
        DeleteCase { 3, 1, 2, 1 }, // one after the focus
        DeleteCase { 3, 2, 0, 1 })); // one before the focus: the same photo

TEST_F(VDImageTest, DeleteOutsideTheListThrows)
{
    AddPhotos(1);
    EXPECT_THROW(project.Delete(1), EListError);
    EXPECT_THROW(project.Delete(-1), EListError);
}

TEST_F(VDImageTest, ClearRemovesFolderKeepsDefaultFormat)
{
    project.defaultFormat = kFormat13x18;
    AddPhotos(2);
    project.focus = 1;
    const QString folder = project.projectFolder;
    project.Clear();
    EXPECT_EQ(project.Count(), 0);
    EXPECT_EQ(project.focus, -1);
    EXPECT_TRUE(project.projectFolder.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(folder));
    EXPECT_EQ(project.defaultFormat, kFormat13x18);
    AddPhotos(1);
    EXPECT_EQ(project.Photo(0).formatId, kFormat13x18);
    EXPECT_NE(project.projectFolder, folder);
}

TEST_F(VDImageTest, DestructorRemovesProjectFolder)
{
    AddPhotos(1);
    const QString folder = project.projectFolder;
    f.project.reset();
    EXPECT_FALSE(QFileInfo::exists(folder));
}

TEST_F(VDImageTest, RefreshPendingThumbnailsFollowsFormat)
{
    AddPhotos(2, 300, 300);
    EXPECT_EQ(project.Photo(1).thumbnail.size(), QSize(140, 140));
    project.SetFormat(1, kFormat10x15);
    project.Photo(1).thumbPending = true;
    project.RefreshPendingThumbnails();
    EXPECT_FALSE(project.Photo(1).thumbPending);
    EXPECT_EQ(project.Photo(1).thumbnail.size(), QSize(140, 94));
    EXPECT_EQ(project.Photo(1).thumbnail.pixel(2, 47), 0xFFFFFFFFu) << "white band beside the square photo";
    EXPECT_NE(project.Photo(1).thumbnail.pixel(70, 47), 0xFFFFFFFFu);
    EXPECT_EQ(project.Photo(0).thumbnail.size(), QSize(140, 140));
}

TEST_F(VDImageTest, OrderPriceAddsOpeningChargeAndDelivery)
{
    AddPhotos(1);
    project.SetFormat(0, kFormat10x15);
    project.Photo(0).quantity = 10; // 10 x 0.50 zł
    EXPECT_EQ(project.PhotosValue(), 500);
    f.engine.min_price = 1000;
    f.engine.open_price = 300;
    f.engine.delivery_price = 900;
    f.engine.delivery_pricepre = 1200;

    EXPECT_EQ(project.OrderPrice(false, false), 800);
    EXPECT_TRUE(project.openingChargeApplied);
    EXPECT_EQ(project.OrderPrice(true, false), 2000);
    EXPECT_EQ(project.OrderPrice(true, true), 1700);

    project.Photo(0).quantity = 20;
    EXPECT_EQ(project.OrderPrice(false, false), 1000);
    EXPECT_FALSE(project.openingChargeApplied);
    f.engine.delivery_pricepre = -1; // not configured: nothing added
    EXPECT_EQ(project.OrderPrice(true, false), 1000);

    project.Photo(0).quantity = 10;
    f.engine.open_price = -1; // below the minimum, but no opening charge configured
    EXPECT_EQ(project.OrderPrice(false, false), 500);
    EXPECT_FALSE(project.openingChargeApplied);
}

TEST_F(VDImageTest, OrderWithoutFormatsCostsNothing)
{
    AddPhotos(2);
    f.engine.min_price = 1000;
    f.engine.open_price = 300;
    f.engine.delivery_pricepre = 1200;
    EXPECT_EQ(project.PhotosValue(), 0);
    EXPECT_EQ(project.OrderPrice(true, false), 0);
    EXPECT_FALSE(project.openingChargeApplied);
}

TEST_F(VDImageTest, RenderOutputLogsAndPlacesOnSheet)
{
    ASSERT_TRUE(project.AddPhoto(f.WritePhoto(QStringLiteral("IMG_0042.JPG"), 300, 200)));
    project.SetFormat(0, kFormat10x15);
    QImage picture(5, 5, QImage::Format_ARGB32);
    project.RenderOutput(0, picture);
    EXPECT_EQ(picture.size(), QSize(1795, 1205));
    const QStringList& lines = LogStore().Lines();
    ASSERT_FALSE(lines.isEmpty());
    EXPECT_TRUE(
        QRegularExpression(QStringLiteral("^RenderOutPut: 0: IMG_0042\\.JPG in \\d\\d:\\d\\d:\\d\\d\\.\\d\\d\\d$"))
            .match(lines.last())
            .hasMatch())
        << lines.last().toStdString();

    // A lost working copy gives a white sheet, or nothing without a format.
    ASSERT_TRUE(QFile::remove(project.Photo(0).workingPath));
    project.RenderOutput(0, picture);
    EXPECT_EQ(picture.size(), QSize(1795, 1205));
    EXPECT_EQ(picture.pixel(900, 600), 0xFFFFFFFFu);
    project.SetFormat(0, -1);
    project.RenderOutput(0, picture);
    EXPECT_TRUE(picture.isNull());
}

// Two worker threads render at once, as the order does: the same pixels as one at a time, and
// the log lines join the log on this thread.
TEST_F(VDImageTest, RenderOutputOnTwoThreadsAtOnce)
{
    ASSERT_TRUE(project.AddPhoto(f.WritePhoto(QStringLiteral("a.jpg"), 900, 600)));
    ASSERT_TRUE(project.AddPhoto(f.WritePhoto(QStringLiteral("b.jpg"), 600, 900)));
    for (int i = 0; i < 2; ++i) {
        project.SetFormat(i, kFormat10x15);
        Corrections record = project.GetCorrections(i);
        record.rotation = 2 * i + 1;
        record.contr = 25;
        project.SetCorrections(i, record);
    }
    QImage expected[2], parallel[2];
    for (int i = 0; i < 2; ++i)
        project.RenderOutput(i, expected[i]);
    const qsizetype linesBefore = LogStore().Lines().size();
    {
        std::jthread first([&] { project.RenderOutput(0, parallel[0]); });
        std::jthread second([&] { project.RenderOutput(1, parallel[1]); });
    }
    EXPECT_EQ(LogStore().Lines().size(), linesBefore); // posted, not yet appended
    QCoreApplication::sendPostedEvents();
    ASSERT_EQ(LogStore().Lines().size(), linesBefore + 2);
    for (int i = 0; i < 2; ++i) {
        EXPECT_TRUE(parallel[i] == expected[i]) << i;
        EXPECT_TRUE(
            LogStore().Lines().mid(linesBefore).filter(QStringLiteral("RenderOutPut: %1: ").arg(i)).size() == 1);
    }
}

} // namespace
