// Adding many photos at once: decoded on worker threads, appended in the chosen order,
// failures reported in place, nothing left behind when the batch stops early.
#include "tests/project/projectfixture.h"

#include "project/photobatch.h"
#include "tests/support/testsupport.h"

#include <QDir>
#include <QFileInfo>

#include <gtest/gtest.h>

namespace {

class PhotoBatchTest : public ::testing::Test {
protected:
    TProjectFixture f;
    TVDImage& project = *f.project;

    // Photos of very different sizes, so that the workers finish out of order.
    QStringList WritePhotos(int count)
    {
        QStringList paths;
        for (int i = 0; i < count; ++i) {
            const int side = i % 2 == 0 ? 1600 : 40;
            paths << f.WritePhoto(QStringLiteral("photo%1.jpg").arg(i), side, side * 2 / 3);
        }
        return paths;
    }

    // Takes every result in order; failed ones are returned, good ones appended.
    QStringList AddAll(TPhotoBatch& batch)
    {
        QStringList failed;
        TPreparedPhoto photo;
        for (int i = 0; i < batch.Count(); ++i) {
            while (!batch.TakeNext(photo, 20)) { }
            if (photo.ok)
                project.AppendPhoto(std::move(photo));
            else
                failed << QFileInfo(photo.slot.sourcePath).fileName();
        }
        return failed;
    }
};

TEST_F(PhotoBatchTest, KeepsTheChosenOrder)
{
    const QStringList paths = WritePhotos(7);
    TPhotoBatch batch(project, paths, f.config.previewSize, 3);
    EXPECT_TRUE(AddAll(batch).isEmpty());
    EXPECT_EQ(project.SourcePaths(), paths);
    for (int i = 0; i < project.Count(); ++i) {
        int width = 0, height = 0;
        project.GetImageSize(i, width, height);
        EXPECT_EQ(width, i % 2 == 0 ? 1600 : 40) << i;
        EXPECT_FALSE(project.Photo(i).thumbPending);
    }
    TPreparedPhoto none;
    EXPECT_FALSE(batch.TakeNext(none, 0));
}

TEST_F(PhotoBatchTest, SameNameTwiceGetsTwoCopies)
{
    const QStringList paths { f.WritePhoto(QStringLiteral("a/same.jpg"), 50, 40),
        f.WritePhoto(QStringLiteral("b/same.jpg"), 60, 40) };
    TPhotoBatch batch(project, paths, f.config.previewSize, 2);
    AddAll(batch);
    ASSERT_EQ(project.Count(), 2);
    EXPECT_EQ(QFileInfo(project.Photo(0).workingPath).fileName(), QStringLiteral("same.sbm"));
    EXPECT_EQ(QFileInfo(project.Photo(1).workingPath).fileName(), QStringLiteral("same_1.sbm"));
}

TEST_F(PhotoBatchTest, FailureIsReportedInItsPlace)
{
    QStringList paths = WritePhotos(4);
    const QString broken = f.PhotoPath(QStringLiteral("broken.jpg"));
    ASSERT_TRUE(WriteFileBytes(broken, QByteArray(300, 'x')));
    paths.insert(2, broken);
    TPhotoBatch batch(project, paths, f.config.previewSize, 2);
    EXPECT_EQ(AddAll(batch), QStringList { QStringLiteral("broken.jpg") });
    paths.removeAt(2);
    EXPECT_EQ(project.SourcePaths(), paths);
    EXPECT_EQ(QDir(project.projectFolder).entryList(QDir::Files).size(), 8);
}

TEST_F(PhotoBatchTest, StoppingEarlyDeletesTheRest)
{
    const QStringList paths = WritePhotos(6);
    {
        TPhotoBatch batch(project, paths, f.config.previewSize, 2);
        TPreparedPhoto photo;
        for (int i = 0; i < 2; ++i) {
            while (!batch.TakeNext(photo, 20)) { }
            project.AppendPhoto(std::move(photo));
        }
    }
    EXPECT_EQ(project.Count(), 2);
    const QStringList files = QDir(project.projectFolder).entryList(QDir::Files, QDir::Name);
    EXPECT_EQ(files,
        (QStringList { QStringLiteral("photo0.sbm"), QStringLiteral("photo1.sbm"), QStringLiteral("prev_photo0.sbm"),
            QStringLiteral("prev_photo1.sbm") }));
}

} // namespace
