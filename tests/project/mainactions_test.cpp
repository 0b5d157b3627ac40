// The project actions through the dialog seam and driven input boxes: quantities, delete,
// rename, reset, new project, the send-order checks, adding with its questions, settings.
#include "tests/project/mainwindowfixture.h"

#include "editing/uformat.h"
#include "tests/support/testsupport.h"
#include "tests/support/windowdriver.h"
#include "ui/appevents.h"
#include "ui/pagelistbox.h"
#include "ui/statuslabel.h"
#include "ui/umydialog.h"
#include "ui/upleasewait.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLineEdit>
#include <QScrollArea>
#include <QSpontaneKeyEvent>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

class MainActionsTest : public ::testing::Test, public TMainWindowFixture {
protected:
    QStringList ShownTexts(const TDialogAnswers& answers) const
    {
        QStringList texts;
        for (const TShownDialog& shown : answers.Shown())
            texts << shown.text;
        return texts;
    }
};

const QString kZeroWarning = QStringLiteral(
    "Nie można ustawić ilości na zero !\rJeśli chcesz usunąć zdjęcie z projektu, zaznacz je i wybierz \"Usuń\" !");
const QString kBadQuantity = QStringLiteral("Nieprawidłowa ilość !");

TEST_F(MainActionsTest, QuantityInputs)
{
    AddPhotos(2, 40, 30);
    Focus(1);
    const struct {
        const char* input;
        QString message;
        int quantity;
    } cases[] = { { "0", kZeroWarning, 1 }, { "100", kBadQuantity, 1 }, { "-5", kBadQuantity, 1 },
        { "abc", kBadQuantity, 1 }, { "99", QString(), 99 } };
    for (const auto& c : cases) {
        TDialogAnswers answers;
        if (!c.message.isEmpty())
            answers.Add({ kButtonOk });
        QString prompt;
        AnswerNextInput(QString::fromLatin1(c.input), nullptr, &prompt);
        window->aquantity->trigger();
        EXPECT_EQ(prompt, QStringLiteral("Ilość odbitek (zdjęć: 1)"));
        EXPECT_EQ(ShownTexts(answers), c.message.isEmpty() ? QStringList() : QStringList { c.message }) << c.input;
        EXPECT_EQ(project.Photo(1).quantity, c.quantity) << c.input;
        EXPECT_EQ(project.Photo(0).quantity, 1);
    }
    EXPECT_TRUE(project.Photo(1).selected) << "with nothing selected the focused photo becomes selected";
    EXPECT_EQ(window->slcount->Status(), QStringLiteral("2(100)"));
}

TEST_F(MainActionsTest, QuantityCancelledOrRefusedStillRefreshesTheActions)
{
    AddPhotos(2, 40, 30);
    for (const QString& input : { QString(), QStringLiteral("0"), QStringLiteral("abc") }) {
        project.SetAllSelected(false);
        Focus(1);
        ASSERT_FALSE(window->adelete->isEnabled());
        TDialogAnswers answers;
        if (!input.isNull())
            answers.Add({ kButtonOk });
        AnswerNextInput(input);
        window->aquantity->trigger();
        EXPECT_TRUE(project.Photo(1).selected) << input.toStdString();
        EXPECT_TRUE(window->adelete->isEnabled()) << input.toStdString();
        EXPECT_TRUE(window->aselnone->isEnabled()) << input.toStdString();
    }
}

TEST_F(MainActionsTest, QuantityForEverySelectedPhoto)
{
    AddPhotos(3, 40, 30);
    Focus(0);
    Select({ 0, 2 });
    QString caption = QStringLiteral("unset");
    AnswerNextInput(QStringLiteral("5"), &caption);
    window->aquantity->trigger();
    EXPECT_EQ(caption, ApplicationTitle());
    EXPECT_EQ(project.TotalQuantity(), 11);
    AnswerNextInput(QString()); // cancelled
    window->aquantity->trigger();
    EXPECT_EQ(project.TotalQuantity(), 11);
}

TEST_F(MainActionsTest, PreviewOfASheetPastThePictureLimitsIsRefused)
{
    AddPhotos(1, 40, 30);
    f.formats.Add({ .id = 9, .name = QStringLiteral("Baner"), .price = 100000, .widthMm = 5000, .heightMm = 1000 });
    project.SetFormat(0, 9);
    Focus(0);
    TDialogAnswers answers { { kButtonOk } }; // the preview window itself would wait for the user
    window->apreview->trigger();
    ASSERT_EQ(answers.Shown().size(), 1);
    EXPECT_TRUE(
        answers.Shown()[0].text.startsWith(QStringLiteral("Format \"Baner\" jest za duży: arkusz 59055 x 11811")))
        << answers.Shown()[0].text.toStdString();
    EXPECT_TRUE(LogHasLine(QStringLiteral("RenderOutPut: 0: sheet 59055 x 11811 exceeds the picture limits"), 3));
}

TEST_F(MainActionsTest, DeleteAsksUntilToldNotTo)
{
    AddPhotos(3, 40, 30);
    Select({ 0, 2 });
    {
        TDialogAnswers answers { { kButtonNo } };
        window->adelete->trigger();
        EXPECT_EQ(ShownTexts(answers), QStringList { QStringLiteral("Na pewno usunąć zaznaczone pliki z projektu ?") });
        EXPECT_EQ(project.Count(), 3);
    }
    {
        TDialogAnswers answers { { kButtonOk, true } };
        window->adelete->trigger();
        EXPECT_EQ(project.Count(), 1);
        EXPECT_EQ(QFileInfo(project.Photo(0).name).fileName(), QStringLiteral("IMG_1.JPG"));
        EXPECT_FALSE(f.config.fdelete);
    }
    {
        TDialogAnswers none; // not asked any more
        Select({ 0 });
        window->adelete->trigger();
        EXPECT_EQ(project.Count(), 0);
        EXPECT_TRUE(none.Shown().isEmpty());
    }
    EXPECT_EQ(window->draw->height(), window->ScrollBox1->viewport()->height());
    EXPECT_FALSE(window->aformat->isEnabled());
}

TEST_F(MainActionsTest, RenameKeepsFolderIgnoresBlank)
{
    AddPhotos(1, 40, 30);
    Focus(0);
    const QString folder = QFileInfo(project.Photo(0).name).path();
    QString caption, prompt;
    AnswerNextInput(QStringLiteral("  wakacje 2024 "), &caption, &prompt);
    window->arename->trigger();
    EXPECT_EQ(caption, QStringLiteral("Vendaro"));
    EXPECT_EQ(prompt, QStringLiteral("Zmień nazwę:"));
    EXPECT_EQ(project.Photo(0).name, folder + QStringLiteral("/wakacje 2024"));
    EXPECT_EQ(window->slphoto->Status(), QStringLiteral("wakacje 2024"));
    AnswerNextInput(QStringLiteral("   "));
    window->arename->trigger();
    EXPECT_EQ(project.Photo(0).name, folder + QStringLiteral("/wakacje 2024"));
    EXPECT_NE(project.Photo(0).sourcePath, project.Photo(0).name);
}

TEST_F(MainActionsTest, ResetGivesDefaultFormatBack)
{
    AddPhotos(1, 40, 30);
    Focus(0);
    project.SetFormat(0, kFormat13x18);
    Corrections record = project.GetCorrections(0);
    record.inten = 50;
    project.SetCorrections(0, record);

    TDialogAnswers answers { { kButtonOk }, { kButtonOk } };
    window->areset->trigger();
    EXPECT_EQ(project.Photo(0).formatId, -1);
    EXPECT_EQ(project.GetCorrections(0).inten, 0);
    project.defaultFormat = kFormat10x15;
    window->areset->trigger();
    EXPECT_EQ(project.Photo(0).formatId, kFormat10x15);
    EXPECT_EQ(ShownTexts(answers).first(), QStringLiteral("Przywrócić zdjęcie do oryginalnej formy ?"));
}

TEST_F(MainActionsTest, NewProjectAsksAndKeepsDefaultFormat)
{
    project.defaultFormat = kFormat13x18;
    AddPhotos(2, 40, 30);
    {
        TDialogAnswers answers { { kButtonNo } };
        window->anewproject->trigger();
        EXPECT_EQ(project.Count(), 2);
        EXPECT_EQ(ShownTexts(answers), QStringList { QStringLiteral("Wyczyścić zamówienie ?") });
    }
    {
        TDialogAnswers answers { { kButtonOk } };
        window->anewproject->trigger();
        EXPECT_EQ(project.Count(), 0);
    }
    EXPECT_EQ(project.defaultFormat, kFormat13x18);
    AddPhotos(1, 40, 30);
    EXPECT_EQ(project.Photo(0).formatId, kFormat13x18);

    // After a sent order the send-order window clears the project without a question.
    window->AttachWindow(TMainLink::SendOrder, [this] {
        window->anewproject->trigger();
        return 1;
    });
    TDialogAnswers answers { { kButtonOk } }; // the small photo is marked low quality on 13x18
    window->asendorder->trigger();
    EXPECT_EQ(project.Count(), 0);
    ASSERT_EQ(answers.Shown().size(), 1) << "no question before clearing";
    EXPECT_TRUE(answers.Shown()[0].text.startsWith(QStringLiteral("UWAGA !")));
}

TEST_F(MainActionsTest, SendOrderCountsPrintsAndWarnsOfLowQuality)
{
    int opened = 0;
    window->AttachWindow(TMainLink::SendOrder, [&] { return ++opened; });
    f.engine.minphotos = 10;
    AddPhotos(3, 40, 30);
    for (int i = 0; i < 3; ++i)
        project.Photo(i).quantity = 3;
    window->UpdateStatus();
    {
        TDialogAnswers answers { { kButtonOk } };
        window->asendorder->trigger();
        EXPECT_EQ(ShownTexts(answers), QStringList { QStringLiteral("Minimalna ilość zdjęć do wysłania to 10") });
        EXPECT_EQ(opened, 0);
    }
    project.Photo(2).quantity = 4; // 10 prints of 3 photos
    window->asendorder->trigger();
    EXPECT_EQ(opened, 1);

    project.Photo(1).lowQuality = true;
    window->UpdateStatus();
    {
        TDialogAnswers answers { { kButtonNo } };
        window->asendorder->trigger();
        ASSERT_EQ(answers.Shown().size(), 1);
        EXPECT_TRUE(answers.Shown()[0].text.startsWith(QStringLiteral("UWAGA !\rCzęść zdjęć jest słabej jakości")));
        EXPECT_EQ(opened, 1);
    }
    TDialogAnswers answers { { kButtonOk } };
    window->asendorder->trigger();
    EXPECT_EQ(opened, 2);
}

TEST_F(MainActionsTest, ForcedFormatIsChosenBeforeTheFirstAdd)
{
    f.engine.forceformat = true;
    window->AttachWindow(TMainLink::PickDefaultFormat, [] { return fformat().PickFormat(true); });
    const QString photo = f.WritePhoto(QStringLiteral("portrait.jpg"), 60, 90);
    {
        TDialogAnswers answers { { kButtonOk } };
        OnNextModal([](QWidget* modal) {
            ASSERT_EQ(modal->objectName(), QStringLiteral("fformat"));
            qobject_cast<QDialog*>(modal)->reject();
        });
        window->aaddphotos->trigger();
        EXPECT_EQ(ShownTexts(answers), QStringList { QStringLiteral("Wybierz domyślny format zdjęć ...") });
        EXPECT_EQ(project.Count(), 0);
        EXPECT_EQ(project.defaultFormat, -1);
    }
    {
        TDialogAnswers answers { { kButtonOk, true } }; // and do not show the note again
        OnNextModal([photo](QWidget* modal) {
            AnswerNextFileDialog({ photo }); // the open dialog follows the format window
            auto& format = *qobject_cast<Tfformat*>(modal);
            format.lbformat->SetItemIndex(1);
            format.bokClick();
        });
        window->aaddphotos->trigger();
        EXPECT_FALSE(f.config.fPickDefFormat);
    }
    EXPECT_EQ(project.defaultFormat, kFormat13x18);
    ASSERT_EQ(project.Count(), 1);
    EXPECT_EQ(project.Photo(0).formatId, kFormat13x18);
    EXPECT_EQ(project.GetCorrections(0).rotation, 1);

    AnswerNextFileDialog({ photo });
    TDialogAnswers none; // a default exists: no question, no format window
    window->aaddphotos->trigger();
    EXPECT_EQ(project.Count(), 2);
    EXPECT_TRUE(none.Shown().isEmpty());
}

TEST_F(MainActionsTest, FailedPhotoAsksWhetherToGoOn)
{
    const QString good1 = f.WritePhoto(QStringLiteral("a.jpg"), 40, 30);
    const QString broken = f.PhotoPath(QStringLiteral("broken.jpg"));
    ASSERT_TRUE(WriteFileBytes(broken, QByteArray(100, 'z')));
    const QString good2 = f.WritePhoto(QStringLiteral("b.jpg"), 40, 30);
    {
        TDialogAnswers answers { { kButtonNo } };
        window->AddFiles({ good1, broken, good2 });
        EXPECT_EQ(ShownTexts(answers),
            QStringList {
                QStringLiteral("Nie można dodać zdjęcia (broken.jpg) !\rCzy chcesz próbować dodać resztę zdjęć ?") });
        EXPECT_EQ(answers.Shown()[0].icon, diError);
        EXPECT_EQ(project.SourcePaths(), QStringList { good1 });
    }
    TDialogAnswers answers { { kButtonOk } };
    window->AddFiles({ good1, broken, good2 });
    EXPECT_EQ(project.Count(), 3);
    EXPECT_EQ(project.Photo(2).sourcePath, good2);
    EXPECT_FALSE(fwait().isVisible());
    EXPECT_EQ(window->slcount->Status(), QStringLiteral("3(3)"));
}

TEST_F(MainActionsTest, OpenDialogAddsInChosenOrder)
{
    const QString one = f.WritePhoto(QStringLiteral("one.jpg"), 40, 30);
    const QString two = f.WritePhoto(QStringLiteral("two.png"), 30, 40);
    AnswerNextFileDialog({ two, one });
    window->aaddphotos->trigger();
    EXPECT_EQ(project.SourcePaths(), (QStringList { two, one }));
    AnswerNextFileDialog({});
    window->aaddphotos->trigger();
    EXPECT_EQ(project.Count(), 2);
    EXPECT_EQ(window->od->nameFilters().first().left(16), QStringLiteral("Wszystkie obrazy"));
}

TEST_F(MainActionsTest, OpenDialogOpensWithNothingChosen)
{
    const QString one = f.WritePhoto(QStringLiteral("one.jpg"), 40, 30);
    AnswerNextFileDialog({ one });
    window->aaddphotos->trigger();
    ASSERT_EQ(project.Count(), 1);
    OnNextModal([&](QWidget*) {
        EXPECT_TRUE(window->od->selectedFiles().isEmpty());
        EXPECT_TRUE(window->od->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->text().isEmpty());
        QTest::keyClick(window->od, Qt::Key_Return);
        EXPECT_TRUE(window->od->isVisible()) << "Enter with nothing chosen adds nothing";
        window->od->reject();
    });
    window->aaddphotos->trigger();
    EXPECT_EQ(project.Count(), 1);
    EXPECT_EQ(window->od->directory().absolutePath(), QFileInfo(one).absolutePath()) << "the folder is kept";
}

TEST_F(MainActionsTest, ThumbnailSettingsRegenerateThumbnails)
{
    AddPhotos(2, 80, 60);
    window->AttachWindow(TMainLink::Settings, [this] {
        f.config.thumbbitmapwidth = f.config.thumbbitmapheight = 60;
        f.config.InitThumbSizes(window->font());
        return kThumbSettingsChanged;
    });
    window->asettings->trigger();
    EXPECT_EQ(project.Photo(0).thumbnail.size(), QSize(60, 45));
    EXPECT_FALSE(project.Photo(1).thumbPending);
    EXPECT_FALSE(fwait().isVisible());
}

TEST_F(MainActionsTest, CloseWhileAddingStopsTheAddingFirst)
{
    QStringList files;
    for (int i = 0; i < 6; ++i)
        files << f.WritePhoto(QStringLiteral("big%1.jpg").arg(i), 1500, 1000);
    QTimer::singleShot(0, window.get(), [this] { window->close(); });
    window->AddFiles(files);
    EXPECT_FALSE(window->isVisible());
    EXPECT_LT(project.Count(), 6);
    EXPECT_EQ(QDir(project.projectFolder).entryList(QDir::Files).size(), 2 * project.Count())
        << "the photos not added leave no files";
}

TEST_F(MainActionsTest, ExitAsksOnce)
{
    AddPhotos(1, 40, 30);
    TDialogAnswers answers { { kButtonNo }, { kButtonOk } };
    window->aexit->trigger();
    EXPECT_TRUE(window->isVisible());
    window->aexit->trigger();
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(ShownTexts(answers), (QStringList(2, QStringLiteral("Zakończyć pracę programu ?"))))
        << "the close that follows a yes does not ask again";
}

// What the window system sends when the user clicks the window's close box.
void ClickCloseBox(QWidget* window)
{
    QCloseEvent event;
    QSpontaneKeyEvent::setSpontaneous(&event);
    QApplication::instance()->notify(window, &event);
    if (event.isAccepted())
        window->hide();
}

TEST_F(MainActionsTest, CloseBoxAsksLikeExitWhilePhotosAreThere)
{
    AddPhotos(2, 40, 30);
    {
        TDialogAnswers answers { { kButtonNo } };
        ClickCloseBox(window.get());
        EXPECT_EQ(ShownTexts(answers), QStringList { QStringLiteral("Zakończyć pracę programu ?") });
        EXPECT_TRUE(window->isVisible());
        EXPECT_EQ(project.Count(), 2);
    }
    TDialogAnswers answers { { kButtonOk, true } }; // and do not ask again
    ClickCloseBox(window.get());
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(f.config.fexit);
}

TEST_F(MainActionsTest, CloseBoxOfAnEmptyProjectClosesAtOnce)
{
    TDialogAnswers none;
    ClickCloseBox(window.get());
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(none.Shown().isEmpty());
}

} // namespace
