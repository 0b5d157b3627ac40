// The project file: what is written reads back the same, every broken file is refused as a
// whole, and the saver keeps the file in step with a real project.
#include "core/log.h"
#include "project/projectfile.h"
#include "project/projectsaver.h"
#include "tests/project/projectfixture.h"
#include "tests/support/testsupport.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <limits>

namespace {

TSavedPhoto Photo(const QString& source, const QString& name)
{
    TSavedPhoto photo;
    photo.sourcePath = source;
    photo.name = name;
    InitCorrections(photo.corrections);
    return photo;
}

// Two photos whose fields use every part of the format: odd paths, a crop, all corrections.
TSavedProject Sample()
{
    TSavedProject project;
    project.focus = 1;
    project.defaultFormat = 7;
    project.photos.push_back(
        Photo(QStringLiteral("/home/ala/zdjęcia/IMG 1.jpg"), QStringLiteral("/home/ala/zdjęcia/IMG 1.jpg")));
    TSavedPhoto odd = Photo(QStringLiteral("/tmp/a%20b\nc\td.png"), QStringLiteral("/tmp/wesele 100%.png"));
    odd.selected = true;
    odd.quantity = 99;
    odd.formatId = 12;
    Corrections& record = odd.corrections;
    record = { 3, 1, 1, { 0.1f, 1.0f / 3.0f, 0.5f, 2.0f / 3.0f, 0.6f, 1.0f }, -100, 100, 5, -7, 8, -9, -180, 100, -100,
        { 1, 2, 255 } };
    project.photos.push_back(odd);
    return project;
}

TEST(ProjectFileTest, TextReadsBackTheSame)
{
    const TSavedProject sample = Sample();
    const QByteArray text = ProjectFileText(sample);
    EXPECT_TRUE(text.startsWith("vendaro-project 1\nfocus 1\ndefault-format 7\nphoto 0 1 -1 0 0 0 -1 0 0 0 0 0 "));
    EXPECT_TRUE(text.endsWith("\nend 2\n"));
    QString problem;
    const std::optional<TSavedProject> read = ParseProjectFile(text, &problem);
    ASSERT_TRUE(read) << problem.toStdString();
    EXPECT_EQ(*read, sample);
    EXPECT_EQ(ParseProjectFile(ProjectFileText({})), TSavedProject {});
}

// Each case changes the sample's text so that the file must be refused.
TEST(ProjectFileTest, BrokenFilesAreRefusedWhole)
{
    const QByteArray good = ProjectFileText(Sample());
    const QByteArray photo1 = good.split('\n')[3];
    const auto replaced = [&](const QByteArray& from, const QByteArray& to) {
        QByteArray text = good;
        EXPECT_TRUE(text.contains(from)) << from.toStdString();
        return text.replace(text.indexOf(from), from.size(), to);
    };
    const auto photoWith = [&](int field, const QByteArray& value) {
        QList<QByteArray> fields = photo1.split(' ');
        fields[field] = value;
        return replaced(photo1, fields.join(' '));
    };
    const struct {
        const char* what;
        QByteArray text;
    } cases[] = {
        { "empty", "" },
        { "other program", "[flags]\nfShowTip=0\n" },
        { "newer version", replaced("vendaro-project 1", "vendaro-project 2") },
        { "cut short", good.left(good.size() - 7) },
        { "last line not ended", good.chopped(1) },
        { "count does not match", replaced("end 2", "end 3") },
        { "text after the end", good + "photo\n" },
        { "focus past the photos", replaced("focus 1", "focus 2") },
        { "focus below -1", replaced("focus 1", "focus -2") },
        { "default format not a number", replaced("default-format 7", "default-format 7x") },
        { "CR LF lines", QByteArray(good).replace("\n", "\r\n") },
        { "a field missing", replaced(photo1, photo1.left(photo1.lastIndexOf(' '))) },
        { "a field more", replaced(photo1, photo1 + " x") },
        { "double space", replaced(photo1, QByteArray(photo1).replace(" 0 ", "  0 ")) },
        { "selected 2", photoWith(1, "2") },
        { "quantity 0", photoWith(2, "0") },
        { "quantity 100", photoWith(2, "100") },
        { "format below -1", photoWith(3, "-2") },
        { "format past int", photoWith(3, "2147483648") },
        { "rotation 4", photoWith(4, "4") },
        { "sepia 2", photoWith(6, "2") },
        { "crop not a number", photoWith(8, "nan") },
        { "crop infinite", photoWith(8, "inf") },
        { "crop left below the marker", photoWith(7, "-0.5") },
        { "crop past the picture", photoWith(9, "1.5") },
        { "saturation 101", photoWith(13, "101") },
        { "hue 181", photoWith(19, "181") },
        { "reserved 256", photoWith(24, "256") },
        { "relative source", photoWith(25, "zdjecie.jpg") },
        { "source with ..", photoWith(25, "/home/../etc/x.jpg") },
        { "source with NUL", photoWith(25, "/home/a%00b.jpg") },
        { "name in another folder", photoWith(26, "/etc/passwd") },
        { "name climbing out", photoWith(26, "/home/ala/zdj%C4%99cia/../../x.jpg") },
        { "name is the folder", photoWith(26, "/home/ala/zdj%C4%99cia/") },
    };
    for (const auto& c : cases) {
        QString problem;
        EXPECT_FALSE(ParseProjectFile(c.text, &problem)) << c.what;
        EXPECT_FALSE(problem.isEmpty()) << c.what;
    }
    // A renamed photo may carry a typed "/" below its source's folder.
    EXPECT_TRUE(ParseProjectFile(photoWith(26, "/home/ala/zdj%C4%99cia/nowe/IMG.jpg")));
}

TEST(ProjectFileTest, RestoredFocusAndMissingList)
{
    const struct {
        int saved;
        std::vector<int> restored;
        int focus;
    } cases[] = { { 2, { 0, 2, 3 }, 1 }, { 1, { 0, 2, 3 }, 1 }, { 3, { 0, 1 }, 1 }, { 0, { 1, 2 }, 0 },
        { -1, { 0, 1 }, -1 }, { 1, {}, -1 } };
    for (const auto& c : cases)
        EXPECT_EQ(RestoredFocus(c.saved, c.restored), c.focus) << c.saved;

    QStringList many;
    for (int i = 0; i < 25; ++i)
        many << QStringLiteral("/zdjecia/%1.jpg").arg(i);
    const QString message = MissingSourcesMessage(many);
    EXPECT_TRUE(message.startsWith(QStringLiteral("Nie znaleziono plików (zostały pominięte):\r/zdjecia/0.jpg\r")));
    EXPECT_TRUE(message.contains(QStringLiteral("/zdjecia/9.jpg\r... i 15 innych")));
    EXPECT_FALSE(message.contains(QStringLiteral("/zdjecia/10.jpg")));
}

TEST(ProjectFileTest, DamagedOrUnreadableFileIsLoggedAndGivesNothing)
{
    QTemporaryDir folder;
    const QString path = folder.filePath("project.vdp");
    EXPECT_EQ(ReadProjectFile(path), TSavedProject {}); // none yet: an empty project, nothing logged
    WriteFileBytes(path, ProjectFileText(Sample()).replace("end 2", "end 1"));
    LogStore().Clear();
    EXPECT_FALSE(ReadProjectFile(path));
    ASSERT_EQ(LogStore().Lines().size(), 1);
    EXPECT_EQ(LogStore().Lines()[0], "Project file ignored: " + path + ": line 6: the photo count does not match");
}

class ProjectSaverTest : public ::testing::Test {
protected:
    // Handles events until the file holds the project's state (false after five seconds).
    bool FileFollows()
    {
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < 5000) {
            QCoreApplication::processEvents();
            const std::optional<TSavedProject> read = ReadProjectFile(path);
            if (read && *read == SavedState(project) && QFile::exists(path) == (project.Count() > 0))
                return true;
            QThread::msleep(20);
        }
        return false;
    }

    TProjectFixture f;
    TVDImage& project = *f.project;
    QTemporaryDir folder;
    QString path = folder.filePath("project.vdp");
};

TEST_F(ProjectSaverTest, FollowsEveryKindOfChangeAndEmptiesWithTheProject)
{
    TProjectSaver saver(project, path);
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(project.AddPhoto(f.WritePhoto(QStringLiteral("p%1.jpg").arg(i), 60, 40)));
    ASSERT_TRUE(FileFollows());
    EXPECT_EQ(QFile::permissions(path),
        QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadUser | QFileDevice::WriteUser);
    const std::vector<std::function<void()>> changes
        = { [&] { project.Photo(1).quantity = 5; }, [&] { project.SetFormat(2, kFormat13x18); },
              [&] { project.Photo(0).name = project.Photo(0).name + QStringLiteral("x"); },
              [&] { project.SetAllSelected(true); }, [&] { project.Delete(0); },
              [&] {
                  Corrections record = project.GetCorrections(0);
                  record.crop = { 0.25f, 0.0f, 0.5f, 1.0f, 0.75f, 1.0f };
                  record.inten = 30;
                  project.SetCorrections(0, record);
              } };
    for (const auto& change : changes) {
        const TSavedProject before = SavedState(project);
        change();
        ASSERT_NE(SavedState(project), before);
        EXPECT_TRUE(FileFollows());
    }
    // Deleting the last photos, and "Nowy projekt" alike, leave no file.
    project.Delete(1);
    project.Delete(0);
    EXPECT_TRUE(FileFollows());
    EXPECT_FALSE(QFile::exists(path));
}

TEST_F(ProjectSaverTest, WritesAtMostOnceASecondAndTheLastChangeOnFlush)
{
    ASSERT_TRUE(project.AddPhoto(f.WritePhoto(QStringLiteral("p.jpg"), 60, 40)));
    TProjectSaver saver(project, path);
    project.Photo(0).quantity = 2;
    QElapsedTimer clock;
    clock.start();
    ASSERT_TRUE(FileFollows());
    EXPECT_GE(clock.elapsed(), TProjectSaver::kIntervalMs - 50);
    // Many changes in a row: nothing before the second is over, then the last one.
    for (int quantity = 3; quantity <= 9; ++quantity)
        project.Photo(0).quantity = quantity;
    QCoreApplication::processEvents();
    QThread::msleep(200);
    QCoreApplication::processEvents();
    EXPECT_EQ(ReadProjectFile(path)->photos[0].quantity, 2);
    saver.Flush();
    EXPECT_EQ(ReadProjectFile(path)->photos[0].quantity, 9);

    // Paused, nothing is written; Stop keeps the file as it is for good.
    saver.SetPaused(true);
    project.Photo(0).quantity = 10;
    saver.Flush();
    EXPECT_EQ(ReadProjectFile(path)->photos[0].quantity, 9);
    saver.SetPaused(false);
    saver.Stop();
    project.Photo(0).quantity = 11;
    saver.Flush();
    EXPECT_EQ(ReadProjectFile(path)->photos[0].quantity, 9);
}

} // namespace
