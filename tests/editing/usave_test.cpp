// The save window driven like a user: which photos, where, under which names, existing files,
// dated folders, the numbering fields, and what the window shows while it works.
#include "editing/usave.h"
#include "imaging/imageinfo.h"
#include "tests/project/projectfixture.h"
#include "tests/support/testsupport.h"
#include "tests/support/windowdriver.h"
#include "ui/advprogressbar.h"
#include "ui/hotwinbitmap.h"
#include "ui/image.h"
#include "ui/mcheckbox.h"
#include "ui/umydialog.h"

#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

namespace {

QStringList FilesIn(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
}

class SaveWindowTest : public ::testing::Test {
protected:
    TProjectFixture f;
    TVDImage& project = *f.project;
    Tfsave& window = fsave();
    QTemporaryDir out;

    void SetUp() override { ResetChoices(); }

    // The window keeps its choices for the whole run; every test starts from the defaults.
    void ResetChoices()
    {
        for (TMCheckBox* box : { window.cbsel, window.cbpath, window.cborygnames, window.cbrename })
            box->setChecked(true);
        for (TMCheckBox* box :
            { window.cball, window.cborygpath, window.cbcount, window.cboverwrite, window.cbskip, window.cbadddate })
            box->setChecked(false);
        window.ecountstart->setText(QStringLiteral("1"));
        window.ecountalign->setText(QStringLiteral("4"));
        window.epath->setText(out.path());
        window.SetClock([] { return QDateTime::currentDateTime(); });
    }

    int AddPhoto(const QString& name, int width, int height, int format = -1, bool selected = true)
    {
        EXPECT_TRUE(project.AddPhoto(f.WritePhoto(name, width, height)));
        const int index = project.Count() - 1;
        if (format != -1)
            project.SetFormat(index, format);
        project.Photo(index).selected = selected;
        return index;
    }

    // Opens the window, lets choose set it up, presses "zapisz" and closes it with "anuluj".
    void Save(const std::function<void()>& choose = {})
    {
        OnNextModal([&](QWidget*) {
            if (choose)
                choose();
            QTest::mouseClick(window.hwbsave, Qt::LeftButton);
            EXPECT_TRUE(window.isVisible()) << "the window stays open after saving";
            QTest::mouseClick(window.hwbcancel, Qt::LeftButton);
        });
        window.exec();
    }

    void Click(QAbstractButton* box) { QTest::mouseClick(box, Qt::LeftButton); }
};

TEST_F(SaveWindowTest, NumbersFromSevenWithThreeDigitsGoOnlyToChosenPhotos)
{
    AddPhoto(QStringLiteral("a.jpg"), 120, 80, kFormat10x15);
    AddPhoto(QStringLiteral("b.jpg"), 90, 60, -1, false);
    AddPhoto(QStringLiteral("c.jpg"), 90, 60);
    Save([&] {
        Click(window.cbcount);
        EXPECT_FALSE(window.cborygnames->isChecked());
        window.ecountstart->setText(QStringLiteral("7"));
        window.ecountalign->setText(QStringLiteral("3"));
    });
    EXPECT_EQ(FilesIn(out.path()), (QStringList { QStringLiteral("007.jpg"), QStringLiteral("008.jpg") }));
    ImageInfo info {};
    ASSERT_TRUE(ReadImageInfo(out.filePath(QStringLiteral("007.jpg")), info));
    EXPECT_EQ(QSize(info.width, info.height), QSize(1795, 1205)) << "the print of 10x15 at the lab's 300 dpi";
    EXPECT_EQ(info.xDpi, 300);
    EXPECT_EQ(info.yDpi, 300);
    ASSERT_TRUE(ReadImageInfo(out.filePath(QStringLiteral("008.jpg")), info));
    EXPECT_EQ(QSize(info.width, info.height), QSize(90, 60)) << "a photo without a format at its own size";
    EXPECT_EQ(info.xDpi, 300);
}

TEST_F(SaveWindowTest, ExistingFilesAreRenamedReplacedOrKept)
{
    AddPhoto(QStringLiteral("IMG_1.jpg"), 60, 40);
    AddPhoto(QStringLiteral("DSC001.png"), 60, 40);
    const struct {
        QAbstractButton* policy;
        QStringList files;
        bool oldKept;
    } cases[] = {
        { window.cbrename,
            { QStringLiteral("DSC001.jpg"), QStringLiteral("DSC001_1.jpg"), QStringLiteral("IMG_1.jpg"),
                QStringLiteral("IMG_2.jpg") },
            true },
        { window.cboverwrite, { QStringLiteral("DSC001.jpg"), QStringLiteral("IMG_1.jpg") }, false },
        { window.cbskip, { QStringLiteral("DSC001.jpg"), QStringLiteral("IMG_1.jpg") }, true },
    };
    for (const auto& c : cases) {
        ResetChoices();
        QTemporaryDir folder;
        window.epath->setText(folder.path());
        for (const char* name : { "IMG_1.jpg", "DSC001.jpg" })
            ASSERT_TRUE(WriteFileBytes(folder.filePath(QLatin1String(name)), "old"));
        Save([&] {
            if (!c.policy->isChecked())
                Click(c.policy);
        });
        EXPECT_EQ(FilesIn(folder.path()), c.files) << c.policy->objectName().toStdString();
        const bool kept = ReadFileBytes(folder.filePath(QStringLiteral("IMG_1.jpg"))) == "old";
        EXPECT_EQ(kept, c.oldKept) << c.policy->objectName().toStdString();
    }
}

TEST_F(SaveWindowTest, PolicyAndPairClicksFollowTheirRules)
{
    Click(window.cbskip);
    EXPECT_TRUE(window.cbskip->isChecked());
    EXPECT_FALSE(window.cboverwrite->isChecked());
    EXPECT_FALSE(window.cbrename->isChecked());
    Click(window.cbskip);
    EXPECT_FALSE(window.cbskip->isChecked());
    EXPECT_TRUE(window.cboverwrite->isChecked());
    Click(window.cboverwrite);
    EXPECT_TRUE(window.cbrename->isChecked());
    EXPECT_FALSE(window.cboverwrite->isChecked());
    Click(window.cbrename);
    EXPECT_TRUE(window.cboverwrite->isChecked());
    EXPECT_FALSE(window.cbskip->isChecked());

    for (const auto& [first, second] : { std::pair { window.cbsel, window.cball },
             std::pair { window.cbpath, window.cborygpath }, std::pair { window.cborygnames, window.cbcount } }) {
        Click(second);
        EXPECT_FALSE(first->isChecked()) << first->objectName().toStdString();
        Click(second);
        EXPECT_TRUE(first->isChecked()) << first->objectName().toStdString();
        Click(first);
        EXPECT_TRUE(second->isChecked()) << second->objectName().toStdString();
    }
    EXPECT_FALSE(window.cbraport->isVisibleTo(&window));
}

TEST_F(SaveWindowTest, NextToTheOriginalsAReadOnlySourceIsNeverReplaced)
{
    const int index = AddPhoto(QStringLiteral("x.jpg"), 60, 40);
    const QString source = project.Photo(index).sourcePath;
    const QByteArray bytes = ReadFileBytes(source);
    ASSERT_TRUE(QFile::setPermissions(source, QFileDevice::ReadOwner | QFileDevice::ReadGroup));
    const QString folder = QFileInfo(source).absolutePath();
    for (QAbstractButton* policy : { window.cbrename, window.cboverwrite, window.cbskip }) {
        ResetChoices();
        Save([&] {
            Click(window.cborygpath);
            if (!policy->isChecked())
                Click(policy);
        });
        EXPECT_EQ(ReadFileBytes(source), bytes) << policy->objectName().toStdString();
        EXPECT_FALSE(QFile::permissions(source) & QFileDevice::WriteOwner) << "still read-only";
        EXPECT_TRUE(QFile::remove(folder + QStringLiteral("/x_1.jpg"))) << policy->objectName().toStdString();
    }
    EXPECT_TRUE(FilesIn(out.path()).isEmpty());
}

TEST_F(SaveWindowTest, DatedRunsInDifferentSecondsUseTwoFolders)
{
    AddPhoto(QStringLiteral("a.jpg"), 60, 40);
    QDateTime start(QDate(2007, 3, 14), QTime(9, 5, 33));
    window.SetClock([&] { return start; });
    Click(window.cbadddate);
    Save();
    start = start.addSecs(1);
    Save();
    EXPECT_EQ(FilesIn(out.path()),
        (QStringList { QStringLiteral("2007-03-14 09_05_33"), QStringLiteral("2007-03-14 09_05_34") }));
    EXPECT_EQ(FilesIn(out.filePath(QStringLiteral("2007-03-14 09_05_34"))), QStringList { QStringLiteral("a.jpg") });
}

TEST_F(SaveWindowTest, WithoutAUsableFolderOrNumberNothingIsSaved)
{
    AddPhoto(QStringLiteral("a.jpg"), 60, 40);
    const struct {
        QString folder, start, align;
        QString message;
    } cases[] = {
        { QString(), QStringLiteral("1"), QStringLiteral("4"),
            QStringLiteral("Wybierz katalog gdzie zapisać zdjęcia !") },
        { out.filePath(QStringLiteral("missing")), QStringLiteral("1"), QStringLiteral("4"),
            QStringLiteral("Katalog w którym zapisać zdjęcia nie istnieje !") },
        { out.path(), QStringLiteral("abc"), QStringLiteral("4"),
            QStringLiteral("W polu \"Zacznij numerację od\" wpisz liczbę całkowitą od 0 do 999999999 !") },
        { out.path(), QStringLiteral("-1"), QStringLiteral("4"),
            QStringLiteral("W polu \"Zacznij numerację od\" wpisz liczbę całkowitą od 0 do 999999999 !") },
        { out.path(), QStringLiteral("7"), QStringLiteral("1.5"),
            QStringLiteral("W polu \"Wyrównaj liczbę do XX cyfr\" wpisz liczbę od 0 do 9 !") },
        { out.path(), QStringLiteral("7"), QStringLiteral("10"),
            QStringLiteral("W polu \"Wyrównaj liczbę do XX cyfr\" wpisz liczbę od 0 do 9 !") },
    };
    Click(window.cbcount);
    for (const auto& c : cases) {
        TDialogAnswers answers { { kButtonOk } };
        Save([&] {
            window.epath->setText(c.folder);
            window.ecountstart->setText(c.start);
            window.ecountalign->setText(c.align);
        });
        ASSERT_EQ(answers.Shown().size(), 1) << c.message.toStdString();
        EXPECT_EQ(answers.Shown()[0].text, c.message);
        EXPECT_TRUE(FilesIn(out.path()).isEmpty());
    }
    Click(window.cborygnames); // fields that are not used do not matter
    window.ecountstart->setText(QStringLiteral("abc"));
    Save();
    EXPECT_EQ(FilesIn(out.path()), QStringList { QStringLiteral("a.jpg") });
}

TEST_F(SaveWindowTest, CopiesThatCannotBeWrittenAreCountedAndTheRestSaved)
{
    AddPhoto(QStringLiteral("IMG_1.jpg"), 60, 40);
    AddPhoto(QStringLiteral("IMG_2.jpg"), 60, 40);
    ASSERT_TRUE(QDir(out.path()).mkdir(QStringLiteral("IMG_1.jpg"))); // a folder where the file should go
    TDialogAnswers answers { { kButtonOk } };
    Save([&] { Click(window.cboverwrite); });
    EXPECT_TRUE(QFileInfo(out.filePath(QStringLiteral("IMG_2.jpg"))).isFile());
    ASSERT_EQ(answers.Shown().size(), 1);
    EXPECT_TRUE(answers.Shown()[0].text.startsWith(QStringLiteral("Nie udało się zapisać 1 z 2 zdjęć !")));
}

// 5 x 5 m at 300 dpi would be a 59055 x 59055 sheet, far past the picture limits: the run is
// refused before anything is rendered or written.
TEST_F(SaveWindowTest, ASheetPastThePictureLimitsIsRefusedWithAMessage)
{
    f.formats.Add(
        { .id = 9, .name = QStringLiteral("Baner 5 x 5 m"), .price = 100000, .widthMm = 5000, .heightMm = 5000 });
    AddPhoto(QStringLiteral("a.jpg"), 60, 40, kFormat10x15);
    AddPhoto(QStringLiteral("b.jpg"), 60, 40, 9);
    TDialogAnswers answers { { kButtonOk } };
    Save();
    EXPECT_TRUE(FilesIn(out.path()).isEmpty());
    ASSERT_EQ(answers.Shown().size(), 1);
    EXPECT_EQ(answers.Shown()[0].text,
        QStringLiteral("Format \"Baner 5 x 5 m\" jest za duży: arkusz 59055 x 59055 pikseli przekracza możliwości "
                       "programu (najwyżej 65535 pikseli na bok i 268 mln pikseli).\rWybierz mniejszy format dla "
                       "zdjęcia \"b.jpg\"."));
    QImage picture(10, 10, QImage::Format_ARGB32);
    project.RenderOutput(1, picture);
    EXPECT_TRUE(picture.isNull()) << "the sheet is never allocated";

    project.Photo(1).selected = false; // the other photo alone is saved
    Save();
    EXPECT_EQ(FilesIn(out.path()), QStringList { QStringLiteral("a.jpg") });
}

TEST_F(SaveWindowTest, WhileSavingTheWindowIsDisabledAndShowsProgressAndTheStrip)
{
    AddPhoto(QStringLiteral("a.jpg"), 60, 40, -1, false);
    AddPhoto(QStringLiteral("b.jpg"), 60, 40);
    AddPhoto(QStringLiteral("c.jpg"), 60, 40);
    struct Seen {
        bool enabled;
        bool progressShown;
        QString caption;
        int position;
        bool stripShown;
    };
    QList<Seen> seen;
    QTimer watcher;
    QObject::connect(&watcher, &QTimer::timeout, [&] {
        if (window.isVisible())
            seen << Seen { window.isEnabled(), window.pb->isVisible(), window.pb->Caption(), window.pb->Position(),
                !window.iprev->Picture().isNull() };
    });
    watcher.start(0);
    Save();
    watcher.stop();
    const auto during = std::find_if(seen.begin(), seen.end(), [](const Seen& s) { return !s.enabled; });
    ASSERT_NE(during, seen.end()) << "the run let events through";
    EXPECT_TRUE(during->progressShown);
    EXPECT_EQ(during->caption, QStringLiteral("Trwa zapisywanie ..."));
    EXPECT_TRUE(std::any_of(seen.begin(), seen.end(), [](const Seen& s) { return !s.enabled && s.position == 67; }));
    EXPECT_TRUE(std::any_of(seen.begin(), seen.end(), [](const Seen& s) { return s.stripShown; }));
    EXPECT_TRUE(window.isEnabled());
    EXPECT_FALSE(window.pb->isVisible());
    EXPECT_TRUE(window.iprev->Picture().isNull());
    EXPECT_EQ(FilesIn(out.path()), (QStringList { QStringLiteral("b.jpg"), QStringLiteral("c.jpg") }));
}

TEST_F(SaveWindowTest, ChoicesAndSavingFromTheKeyboard)
{
    AddPhoto(QStringLiteral("a.jpg"), 120, 80, kFormat10x15);
    QString opened;
    QStringList tabs;
    bool stayed = false, all = false;
    OnNextModal([&](QWidget*) {
        opened = window.focusWidget()->objectName();
        tabs = TabWalk(&window);
        PressKey(&window, Qt::Key_Tab); // "Wszystkie"
        PressKey(&window, Qt::Key_Space);
        all = window.cball->isChecked();
        PressKey(&window, Qt::Key_Return); // "zapisz"
        stayed = window.isVisible();
        PressKey(&window, Qt::Key_Escape);
    });
    window.exec();
    EXPECT_EQ(opened, "cbsel");
    EXPECT_EQ(tabs,
        (QStringList { "cball", "cborygpath", "cbpath", "epath", "hwbbrowse", "cborygnames", "cbcount", "ecountstart",
            "ecountalign", "cbrename", "cboverwrite", "cbskip", "cbadddate", "hwbsave", "hwbcancel" }));
    EXPECT_TRUE(all);
    EXPECT_TRUE(stayed) << "the window stays open after saving";
    EXPECT_FALSE(window.isVisible()) << "Escape: \"anuluj\"";
}

} // namespace
