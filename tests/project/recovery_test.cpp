// Restoring the project of a previous run through the main window: a killed program's project
// comes back identical, a vanished source is named and left out, "NIE" empties the file and a
// damaged file asks nothing.
#include "tests/project/mainwindowfixture.h"

#include "core/log.h"
#include "project/projectfile.h"
#include "ui/umydialog.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class RecoveryTest : public ::testing::Test, public TMainWindowFixture {
protected:
    static QStringList ShownTexts(const TDialogAnswers& answers)
    {
        QStringList texts;
        for (const TShownDialog& shown : answers.Shown())
            texts << shown.text;
        return texts;
    }

    QTemporaryDir folder;
    QString path = folder.filePath("project.vdp");
};

QImage Argb(const QImage& picture)
{
    return picture.convertToFormat(QImage::Format_ARGB32);
}

TEST_F(RecoveryTest, KilledProgramComesBackIdentical)
{
    const QStringList photos = { f.WritePhoto(QStringLiteral("wakacje/IMG_1.JPG"), 240, 160),
        f.WritePhoto(QStringLiteral("portret.png"), 120, 200), f.WritePhoto(QStringLiteral("IMG 3.JPG"), 300, 200) };
    QTemporaryDir childTemp, thumbs;
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("TMPDIR", childTemp.path()); // its fixture's folders stay there after the kill
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    child.setProcessEnvironment(environment);
    child.start(QStringLiteral(RECOVERY_CHILD), QStringList { path, thumbs.path() } + photos);
    ASSERT_TRUE(child.waitForReadyRead(60000)) << child.readAllStandardError().toStdString();
    EXPECT_EQ(child.readLine().trimmed(), "ready");
    child.kill();
    child.waitForFinished(30000);

    const std::optional<TSavedProject> saved = ReadProjectFile(path);
    ASSERT_TRUE(saved);
    ASSERT_EQ(saved->photos.size(), 3u);
    EXPECT_EQ(QFileInfo(saved->photos[0].name).fileName(), QStringLiteral("wesele.jpg"));
    EXPECT_EQ(saved->photos[1].corrections.crop.left, 0.125f);
    EXPECT_EQ(saved->photos[2].corrections.sepia, 1);

    TDialogAnswers answers { { kButtonOk } };
    window->OfferSavedProject(path);
    EXPECT_EQ(ShownTexts(answers), QStringList { QStringLiteral("Przywrócić poprzedni projekt (3 zdjęcia) ?") });
    EXPECT_EQ(SavedState(project), *saved);
    ASSERT_EQ(project.Count(), 3);
    for (int i = 0; i < 3; ++i) {
        const QImage expected(thumbs.filePath(QStringLiteral("thumb_%1.png").arg(i)));
        ASSERT_FALSE(expected.isNull());
        EXPECT_EQ(Argb(project.Photo(i).thumbnail), Argb(expected)) << i;
        EXPECT_EQ(project.Photo(i).sourcePath, photos[i]);
        EXPECT_NE(project.Photo(i).workingPath, QString());
    }
}

TEST_F(RecoveryTest, VanishedSourceIsNamedAndLeftOut)
{
    AddPhotos(4, 60, 40);
    project.Photo(1).quantity = 4;
    project.Photo(2).selected = true;
    project.Photo(3).selected = true;
    project.focus = 2;
    TSavedProject saved = SavedState(project);
    ASSERT_TRUE(WriteProjectFile(path, saved));
    project.Clear();
    const QString gone = saved.photos[2].sourcePath;
    ASSERT_TRUE(QFile::remove(gone));

    TDialogAnswers answers { { kButtonOk }, { kButtonOk } };
    window->OfferSavedProject(path);
    EXPECT_EQ(ShownTexts(answers),
        QStringList({ QStringLiteral("Przywrócić poprzedni projekt (4 zdjęcia) ?"),
            QStringLiteral("Nie znaleziono plików (zostały pominięte):\r") + gone }));
    saved.photos.erase(saved.photos.begin() + 2);
    saved.focus = 2; // the focused photo went: the next one takes it
    EXPECT_EQ(SavedState(project), saved);
}

TEST_F(RecoveryTest, NoEmptiesTheFileAndADamagedFileAsksNothing)
{
    AddPhotos(1, 60, 40);
    ASSERT_TRUE(WriteProjectFile(path, SavedState(project)));
    project.Clear();
    {
        TDialogAnswers answers { { kButtonNo } };
        window->OfferSavedProject(path);
        EXPECT_EQ(answers.Shown().size(), 1);
    }
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_EQ(project.Count(), 0);

    WriteFileBytes(path, "vendaro-project 1\nfocus 0\n");
    LogStore().Clear();
    TDialogAnswers none; // any dialog would throw
    window->OfferSavedProject(path);
    EXPECT_EQ(project.Count(), 0);
    EXPECT_TRUE(LogStore().Lines().join('\n').contains("Project file ignored: " + path));
}

} // namespace
