// The open dialog's filters and the search of dropped folders.
#include "imaging/generaldecoder.h"
#include "project/photofiles.h"
#include "tests/support/testsupport.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

TEST(PhotoFilesTest, FilterListInOrder)
{
    const QStringList filters = PhotoFileFilters();
    ASSERT_EQ(filters.size(), 16);
    EXPECT_TRUE(filters[0].startsWith(QStringLiteral("Wszystkie obrazy (*.jpg *.jpeg *.bmp ")));
    EXPECT_TRUE(filters[0].endsWith(QStringLiteral(" *.pbm *.heic *.heif *.avif *.webp)")));
    EXPECT_EQ(filters[1], QStringLiteral("Jpeg (*.jpg;*.jpeg) (*.jpg *.jpeg)"));
    EXPECT_EQ(filters[2],
        QStringLiteral("Zdjęcia HEIF, AVIF i WebP (*.heic;*.heif;*.avif;*.webp) (*.heic *.heif *.avif *.webp)"));
    EXPECT_EQ(filters[14], QStringLiteral("ZSoft Paint brush (*.pcs) (*.pcx)"));
    EXPECT_EQ(filters[15], QStringLiteral("Wszystkie pliki (*.*)"));
}

// What the dialog and folder search offer, the decoders' table must accept.
TEST(PhotoFilesTest, EveryPictureExtensionIsAccepted)
{
    for (const QString& pattern : PhotoFilePatterns())
        EXPECT_TRUE(AcceptedPhotoExtensions().contains(pattern.mid(2))) << pattern.toStdString();
}

TEST(PhotoFilesTest, PhotoNamesByExtension)
{
    EXPECT_TRUE(IsPhotoFileName(QStringLiteral("IMG_0001.JPG")));
    EXPECT_TRUE(IsPhotoFileName(QStringLiteral("scan.tiff")));
    EXPECT_TRUE(IsPhotoFileName(QStringLiteral("a.b.png")));
    for (const char* phone : { "IMG_0002.HEIC", "x.heif", "x.avif", "x.WebP" })
        EXPECT_TRUE(IsPhotoFileName(QLatin1String(phone))) << phone;
    EXPECT_FALSE(IsPhotoFileName(QStringLiteral("notes.txt")));
    EXPECT_FALSE(IsPhotoFileName(QStringLiteral("jpg")));
    EXPECT_FALSE(IsPhotoFileName(QStringLiteral("film.gif"))) << "only in its own filter, not among all pictures";
}

TEST(PhotoFilesTest, DroppedFoldersAreSearchedInNaturalOrder)
{
    QTemporaryDir dir;
    for (const char* name : { "trip/img10.jpg", "trip/img2.JPG", "trip/notes.txt", "trip/sub/a.png", "single.xyz" })
        ASSERT_TRUE(WriteFileBytes(dir.filePath(QLatin1String(name)), "x"));
    const QStringList found = ExpandDroppedPaths({ dir.filePath(QStringLiteral("single.xyz")),
        dir.filePath(QStringLiteral("trip")), dir.filePath(QStringLiteral("gone.jpg")) });
    EXPECT_EQ(found,
        (QStringList { dir.filePath(QStringLiteral("single.xyz")), dir.filePath(QStringLiteral("trip/img2.JPG")),
            dir.filePath(QStringLiteral("trip/img10.jpg")), dir.filePath(QStringLiteral("trip/sub/a.png")) }));
}

} // namespace
