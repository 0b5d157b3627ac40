// Where finished copies go and what they are called, the numbering fields, and the strip of
// the last pictures saved.
#include "editing/savenaming.h"
#include "editing/savestrip.h"
#include "tests/support/testsupport.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

TEST(SaveNaming, NumbersCountOnOnlyForThePhotosAsked)
{
    TSaveOptions options;
    options.folder = QStringLiteral("/out/");
    options.numbered = true;
    options.countStart = 7;
    options.countAlign = 3;
    TSaveTargets targets(options, QDateTime());
    EXPECT_EQ(targets.TargetFolder(QStringLiteral("/photos/a.jpg")), QStringLiteral("/out"));
    EXPECT_EQ(targets.TargetPath(QStringLiteral("/out"), QStringLiteral("/photos/a.jpg")).path,
        QStringLiteral("/out/007.jpg"));
    EXPECT_EQ(targets.TargetPath(QStringLiteral("/out"), QStringLiteral("/photos/b.png")).path,
        QStringLiteral("/out/008.jpg"));
    options.countStart = 999;
    options.countAlign = 0;
    TSaveTargets wide(options, QDateTime());
    EXPECT_EQ(wide.TargetPath(QStringLiteral("/out"), QStringLiteral("x")).path, QStringLiteral("/out/999.jpg"));
    EXPECT_EQ(wide.TargetPath(QStringLiteral("/out"), QStringLiteral("x")).path, QStringLiteral("/out/1000.jpg"));
}

TEST(SaveNaming, ProjectNamesTakeJpgAndTheOwnFolderOrADatedOne)
{
    TSaveOptions options;
    options.chosenFolder = false;
    TSaveTargets own(options, QDateTime());
    EXPECT_EQ(own.TargetFolder(QStringLiteral("/photos/trip/IMG 5.Tiff")), QStringLiteral("/photos/trip"));
    EXPECT_EQ(own.TargetPath(QStringLiteral("/photos/trip"), QStringLiteral("/photos/trip/IMG 5.Tiff")).path,
        QStringLiteral("/photos/trip/IMG 5.jpg"));

    options.chosenFolder = true;
    options.folder = QStringLiteral("/out");
    options.datedFolder = true;
    const QDateTime start(QDate(2007, 3, 14), QTime(9, 5, 33));
    TSaveTargets dated(options, start);
    EXPECT_EQ(dated.TargetFolder(QStringLiteral("/photos/a.jpg")), QStringLiteral("/out/2007-03-14 09_05_33"));
    EXPECT_EQ(DatedFolderName(start.addSecs(1)), QStringLiteral("2007-03-14 09_05_34"));
}

TEST(SaveNaming, ExistingFilesAreRenamedSkippedOrReplaced)
{
    QTemporaryDir folder;
    for (const char* name : { "IMG_1.jpg", "DSC001.jpg" })
        ASSERT_TRUE(WriteFileBytes(folder.filePath(QLatin1String(name)), "old"));
    const QString img = QStringLiteral("/src/IMG_1.JPG"), dsc = QStringLiteral("/src/DSC001.bmp");
    const QString fresh = QStringLiteral("/src/new.jpg");
    const struct {
        TExistingFiles policy;
        QString img, dsc;
        bool skip;
    } cases[] = {
        { TExistingFiles::Rename, QStringLiteral("IMG_2.jpg"), QStringLiteral("DSC001_1.jpg"), false },
        { TExistingFiles::Overwrite, QStringLiteral("IMG_1.jpg"), QStringLiteral("DSC001.jpg"), false },
        { TExistingFiles::Skip, QStringLiteral("IMG_1.jpg"), QStringLiteral("DSC001.jpg"), true },
    };
    for (const auto& c : cases) {
        TSaveOptions options;
        options.folder = folder.path();
        options.existing = c.policy;
        TSaveTargets targets(options, QDateTime());
        const TSaveTarget forImg = targets.TargetPath(folder.path(), img);
        const TSaveTarget forDsc = targets.TargetPath(folder.path(), dsc);
        EXPECT_EQ(forImg.path, folder.filePath(c.img));
        EXPECT_EQ(forDsc.path, folder.filePath(c.dsc));
        EXPECT_EQ(forImg.skip, c.skip);
        EXPECT_EQ(forDsc.skip, c.skip);
        EXPECT_FALSE(targets.TargetPath(folder.path(), fresh).skip) << "a new name is never skipped";
    }
}

TEST(SaveNaming, ASourceOfTheProjectIsNeverATargetWhateverThePolicy)
{
    QTemporaryDir folder;
    const QString source = folder.filePath(QStringLiteral("x.jpg"));
    ASSERT_TRUE(WriteFileBytes(source, "photo"));
    ASSERT_TRUE(WriteFileBytes(folder.filePath(QStringLiteral("y.jpg")), "an earlier copy"));
    // The same file reached through a link to its folder.
    const QString linked = folder.filePath(QStringLiteral("link"));
    ASSERT_TRUE(QFile::link(folder.path(), linked));
    for (const TExistingFiles policy : { TExistingFiles::Rename, TExistingFiles::Overwrite, TExistingFiles::Skip }) {
        TSaveOptions options;
        options.chosenFolder = false;
        options.existing = policy;
        TSaveTargets targets(options, QDateTime(), { source, folder.filePath(QStringLiteral("gone.jpg")) });
        for (const QString& folderName : { folder.path(), linked, folder.path() + QStringLiteral("/.") }) {
            const TSaveTarget target = targets.TargetPath(folderName, QStringLiteral("/renamed/x.tif"));
            EXPECT_EQ(target.path, folderName + QStringLiteral("/x_1.jpg")) << int(policy);
            EXPECT_FALSE(target.skip);
        }
        const TSaveTarget other = targets.TargetPath(folder.path(), QStringLiteral("y.png"));
        EXPECT_EQ(other.skip, policy == TExistingFiles::Skip) << "other files follow the policy";
    }
}

TEST(SaveNaming, NumberFieldsHoldWholeNumbersInRange)
{
    EXPECT_EQ(WholeNumberIn(QStringLiteral("7"), 0, kCountStartMax), 7);
    EXPECT_EQ(WholeNumberIn(QStringLiteral(" 12 "), 0, kCountStartMax), 12);
    EXPECT_EQ(WholeNumberIn(QStringLiteral("9"), 0, kCountAlignMax), 9);
    for (const char* text : { "", "abc", "1.5", "1e3", "-1", "0x10", "1000000000", "99999999999999999999" })
        EXPECT_FALSE(WholeNumberIn(QLatin1String(text), 0, kCountStartMax)) << text;
    EXPECT_FALSE(WholeNumberIn(QStringLiteral("10"), 0, kCountAlignMax));
}

TEST(SaveStrip, SevenSlotsOlderOnesDarker)
{
    TSaveStrip strip;
    strip.Start();
    ASSERT_EQ(strip.Picture().size(), QSize(417, 57));
    EXPECT_EQ(strip.Picture().pixel(0, 0), qRgb(0, 0, 0));

    QImage white(40, 20, QImage::Format_ARGB32);
    white.fill(qRgb(255, 255, 255));
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(strip.Position(), i * 57);
        strip.Fade();
        strip.Add(white);
    }
    EXPECT_EQ(strip.Position(), 0) << "back to the first slot after the seventh";
    // A 40 x 20 picture fills the 53-wide slot and is centred vertically (53 x 27 at y = 13).
    const QImage& picture = strip.Picture();
    EXPECT_EQ(picture.pixel(342 + 26, 26), qRgb(255, 255, 255)) << "the newest at full brightness";
    EXPECT_EQ(picture.pixel(342 + 26, 5), qRgb(0, 0, 0)) << "black above the picture";
    EXPECT_EQ(picture.pixel(285 + 26, 26), qRgb(230, 230, 230));
    EXPECT_EQ(picture.pixel(26, 26), qRgb(105, 105, 105)) << "the oldest, six fades later";
    EXPECT_EQ(picture.pixel(416, 26), qRgb(0, 0, 0)) << "the strip's end holds no slot";

    strip.Fade();
    strip.Add(white);
    EXPECT_EQ(strip.Picture().pixel(26, 26), qRgb(255, 255, 255)) << "the first slot taken again";
    strip.Clear();
    EXPECT_TRUE(strip.Picture().isNull());
}
