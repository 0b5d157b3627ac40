// The colour-correction window driven like a user: edit boxes, buttons, track bars, stored
// correction sets, "resetuj" and "AKCEPTUJ", and the preview the worker renders meanwhile.
#include "editing/editsettings.h"
#include "editing/paintbox.h"
#include "editing/uedit.h"
#include "imaging/colourpass.h"
#include "imaging/editthread.h"
#include "platform/appdir.h"
#include "tests/project/projectfixture.h"
#include "tests/support/testsupport.h"
#include "tests/support/windowdriver.h"
#include "ui/appevents.h"
#include "ui/gradientbutton.h"
#include "ui/mousedpanel.h"
#include "ui/pagelistbox.h"
#include "ui/umydialog.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <vector>

namespace {

constexpr int kInten = 0; // indexes into EditSettings()
constexpr int kContr = 1;
constexpr int kHue1 = 6;

Corrections Neutral()
{
    Corrections record;
    InitCorrections(record);
    return record;
}

bool SameRecord(const Corrections& a, const Corrections& b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

class EditWindowTest : public ::testing::Test {
protected:
    ScopedAppDir app;
    TProjectFixture f;
    TVDImage& project = *f.project;
    Tfedit& window = fedit();

    void SetUp() override
    {
        ASSERT_TRUE(project.AddPhoto(f.WritePhoto(QStringLiteral("p0.jpg"), 120, 80)));
        ASSERT_TRUE(project.AddPhoto(f.WritePhoto(QStringLiteral("p1.jpg"), 90, 60)));
        window.ScanStoredCorrections();
        window.SelectPage(1);
    }

    // Opens the photo, runs steps inside the shown window, then closes it with "ANULUJ"
    // unless the steps closed it.
    void Edit(int index, const std::function<void()>& steps)
    {
        bool ran = false;
        OnNextModal([&](QWidget*) {
            window.activateWindow();
            QApplication::setActiveWindow(&window);
            steps();
            ran = true;
            if (window.isVisible())
                QTest::mouseClick(window.bcancel, Qt::LeftButton);
        });
        window.EditPhoto(index);
        EXPECT_TRUE(ran);
        EXPECT_EQ(window.State(), nullptr) << "the worker and its pictures end with the window";
    }

    Corrections Record() const
    {
        const std::lock_guard<std::mutex> guard(window.State()->lock);
        return window.State()->corrections;
    }

    void WaitForRender() const
    {
        EditState& state = *window.State();
        for (int waited = 0; waited < 5000; waited += 5) {
            {
                const std::lock_guard<std::mutex> guard(state.lock);
                if (!state.busy && !state.redoRequested)
                    return;
            }
            QTest::qWait(5);
        }
        ADD_FAILURE() << "the preview was not rendered";
    }

    // The preview is the photo's turned and cropped preview with the settings in force.
    void ExpectPreviewOf(const Corrections& record) const
    {
        WaitForRender();
        const std::lock_guard<std::mutex> guard(window.State()->lock);
        QImage expected = window.State()->source.copy();
        ApplyCorrections(expected, record, false);
        EXPECT_TRUE(window.State()->result == expected);
    }

    void ExpectShown(int setting, int value) const
    {
        const Tfedit::TSettingControls& row = window.settings[std::size_t(setting)];
        EXPECT_EQ(row.tb->value(), value) << row.tb->objectName().toStdString();
        EXPECT_EQ(row.edit->text(), QString::number(value)) << row.edit->objectName().toStdString();
        EXPECT_EQ(SettingValue(Record(), setting), value) << row.edit->objectName().toStdString();
    }

    void Type(QLineEdit* edit, const QString& text)
    {
        edit->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, text);
    }

    // What the window shows where its paint box lies.
    QImage ShownPreview() const { return window.grab(window.draw->geometry()).toImage(); }

    void ClickStoredSet(int entry)
    {
        QTest::mouseClick(
            window.lbcorrections, Qt::LeftButton, {}, QPoint(20, 5 + window.lbcorrections->ItemHeight() * entry));
    }

    void SaveSetAs(const QString& name)
    {
        AnswerNextInput(name);
        QTest::mouseClick(window.bsavecor, Qt::LeftButton);
    }
};

TEST_F(EditWindowTest, OpensOnThePhotoWithItsSettings)
{
    Corrections record = Neutral();
    record.contr = -30;
    record.sepia = 1;
    project.SetCorrections(1, record);
    Edit(1, [&] {
        EXPECT_EQ(window.windowTitle(), QStringLiteral("Edycja zdjęcia - p1.jpg"));
        EXPECT_EQ(window.size(), QSize(717, 581));
        EXPECT_EQ(window.statusPanels[0]->text(), QStringLiteral("90x60"));
        EXPECT_EQ(window.statusPanels[1]->text(), QStringLiteral("Jasność, kontrast, balans"));
        EXPECT_FALSE(window.mploadcor->isVisible());
        ExpectShown(kContr, -30);
        EXPECT_TRUE(window.hbsepia->Selected());
        EXPECT_FALSE(window.hbcolor->Selected());
        EXPECT_TRUE(window.pages[0]->isVisible());
        QTest::mouseClick(window.pageButtons[3], Qt::LeftButton);
        EXPECT_TRUE(window.pages[3]->isVisible());
        EXPECT_FALSE(window.pages[0]->isVisible());
        EXPECT_TRUE(window.pageButtons[3]->Selected());
        EXPECT_FALSE(window.pageButtons[0]->Selected());
        ExpectPreviewOf(record);
    });
    EXPECT_TRUE(LogHasLine(QStringLiteral("Image preapared."), 0));
}

TEST_F(EditWindowTest, EditBoxesTakeNumbersWithinTheRangeAndTextAsTheMaximum)
{
    Edit(0, [&] {
        Type(window.settings[kInten].edit, QStringLiteral("150"));
        QTest::keyClick(window.settings[kInten].edit, Qt::Key_Return);
        ExpectShown(kInten, 100);

        Type(window.settings[kInten].edit, QStringLiteral("-7"));
        window.settings[kContr].edit->setFocus(); // leaving the box takes the value too
        ExpectShown(kInten, -7);

        Type(window.settings[kInten].edit, QStringLiteral("abc"));
        QTest::keyClick(window.settings[kInten].edit, Qt::Key_Tab);
        ExpectShown(kInten, 100);
        EXPECT_TRUE(window.isVisible()) << "Enter in an edit box does not close the window";
    });
    EXPECT_TRUE(SameRecord(project.GetCorrections(0), Neutral())) << "ANULUJ stores nothing";
}

TEST_F(EditWindowTest, StepButtonsStopAtTheLimits)
{
    Edit(0, [&] {
        window.settings[kInten].tb->setValue(98);
        QTest::mouseClick(window.settings[kInten].plus, Qt::LeftButton);
        ExpectShown(kInten, 100);
        QTest::mouseClick(window.settings[kInten].minus, Qt::LeftButton);
        ExpectShown(kInten, 95);
        window.SelectPage(4);
        window.settings[kHue1].tb->setValue(-180);
        QTest::mouseClick(window.settings[kHue1].minus, Qt::LeftButton);
        ExpectShown(kHue1, -180);
        QTest::mouseClick(window.settings[kHue1].zero, Qt::LeftButton);
        ExpectShown(kHue1, 0);
    });
}

TEST_F(EditWindowTest, ModeButtonsExcludeEachOther)
{
    Edit(0, [&] {
        window.SelectPage(5);
        QTest::mouseClick(window.hbbw, Qt::LeftButton);
        EXPECT_EQ(Record().blackWhite, 1);
        EXPECT_EQ(Record().sepia, 0);
        EXPECT_TRUE(window.hbbw->Selected());
        QTest::mouseClick(window.hbsepia, Qt::LeftButton);
        EXPECT_EQ(Record().blackWhite, 0);
        EXPECT_EQ(Record().sepia, 1);
        EXPECT_FALSE(window.hbbw->Selected());
        EXPECT_TRUE(window.hbsepia->Selected());
        QTest::mouseClick(window.hbcolor, Qt::LeftButton);
        EXPECT_EQ(Record().sepia, 0);
        EXPECT_TRUE(window.hbcolor->Selected());
        EXPECT_FALSE(window.hbsepia->Selected());
    });
}

TEST_F(EditWindowTest, AStoredSetIsPreviewedAndEscapeBringsBackTheSettings)
{
    Corrections stored = Neutral();
    stored.inten = 40;
    stored.sepia = 1;
    stored.rotation = 1;
    ASSERT_FALSE(WriteCorrectionsFile(QStringLiteral("Sepia"), stored).isEmpty());
    window.ScanStoredCorrections();
    Edit(0, [&] {
        window.settings[kContr].tb->setValue(30);
        const Corrections before = Record();
        QTest::mouseClick(window.bloadcor, Qt::LeftButton);
        ASSERT_TRUE(window.mploadcor->isVisible());
        EXPECT_TRUE(window.bloadcor->Selected());
        EXPECT_TRUE(window.lbcorrections->hasFocus());
        EXPECT_EQ(window.lloadhint->text(), QStringLiteral("ESCAPE-Anuluj, Podwójne kliknięcie lub ENTER akceptacja."));
        WaitForRender();
        const QImage unchanged = ShownPreview();

        ClickStoredSet(0);
        ExpectShown(kInten, 40);
        ExpectShown(kContr, 0);
        EXPECT_TRUE(window.hbsepia->Selected());
        EXPECT_EQ(Record().rotation, 0) << "the photo keeps its own geometry";
        ExpectPreviewOf(Record());
        // The open list leaves the preview in sight, and the set shows on it at once.
        const QImage shown = ShownPreview();
        EXPECT_TRUE(shown == window.draw->grab().toImage()) << "the list covers the preview";
        EXPECT_FALSE(shown == unchanged);

        QTest::keyClick(window.lbcorrections, Qt::Key_Escape);
        EXPECT_TRUE(window.isVisible()) << "Escape on the list only cancels the set";
        EXPECT_FALSE(window.mploadcor->isVisible());
        EXPECT_FALSE(window.bloadcor->Selected());
        EXPECT_TRUE(SameRecord(Record(), before));
        ExpectShown(kInten, 0);
        ExpectShown(kContr, 30);
        EXPECT_TRUE(window.hbcolor->Selected());
        ExpectPreviewOf(before);

        // Leaving the list restores too; the button closes the list the same way.
        QTest::mouseClick(window.bloadcor, Qt::LeftButton);
        ClickStoredSet(0);
        window.settings[kInten].edit->setFocus();
        EXPECT_FALSE(window.mploadcor->isVisible());
        EXPECT_TRUE(SameRecord(Record(), before));
        QTest::mouseClick(window.bloadcor, Qt::LeftButton);
        ClickStoredSet(0);
        QTest::mouseClick(window.bloadcor, Qt::LeftButton);
        EXPECT_FALSE(window.mploadcor->isVisible());
        EXPECT_TRUE(SameRecord(Record(), before));
    });
}

TEST_F(EditWindowTest, ASetSavedFromATurnedCroppedPhotoKeepsTheOtherPhotosGeometry)
{
    Corrections first = Neutral();
    first.rotation = 1;
    first.crop = { 0.1f, 0.2f, 0.7f, 0.6f, 0.8f, 0.8f };
    project.SetCorrections(0, first);
    Corrections second = Neutral();
    second.rotation = 2;
    project.SetCorrections(1, second);

    SetApplicationTitle(QStringLiteral("Fotolab"));
    Edit(0, [&] {
        window.settings[kInten].tb->setValue(25);
        QString caption, prompt;
        AnswerNextInput(QStringLiteral("  Mój zestaw "), &caption, &prompt);
        QTest::mouseClick(window.bsavecor, Qt::LeftButton);
        EXPECT_EQ(caption, QStringLiteral("Fotolab"));
        EXPECT_EQ(prompt, QStringLiteral("Podaj nazwe"));
        SaveSetAs(QStringLiteral("Mój zestaw")); // the same name again: a second file
    });
    SetApplicationTitle(QString());
    EXPECT_EQ(
        window.lbcorrections->Items(), (QStringList { QStringLiteral("Mój zestaw"), QStringLiteral("Mój zestaw") }));
    ASSERT_EQ(window.StoredCorrections().Count(), 2);
    EXPECT_EQ(window.StoredCorrections().Paths()[1], AppPath(QStringLiteral("corrections/cor_1.dat")));
    QString name;
    Corrections saved = Neutral();
    ASSERT_TRUE(ReadCorrectionsFile(AppPath(QStringLiteral("corrections/cor.dat")), name, saved));
    EXPECT_EQ(saved.inten, 25);
    EXPECT_EQ(saved.rotation, 1) << "a set carries the geometry of the photo it was saved from";
    EXPECT_EQ(saved.crop.left, 0.1f);

    Edit(1, [&] {
        QTest::mouseClick(window.bloadcor, Qt::LeftButton);
        ClickStoredSet(1);
        QTest::keyClick(window.lbcorrections, Qt::Key_Return);
        EXPECT_FALSE(window.mploadcor->isVisible());
        ExpectShown(kInten, 25);
        QTest::mouseClick(window.bok, Qt::LeftButton);
    });
    const Corrections stored = project.GetCorrections(1);
    EXPECT_EQ(stored.inten, 25);
    EXPECT_EQ(stored.rotation, 2);
    EXPECT_EQ(stored.crop.left, kNoCrop);
}

TEST_F(EditWindowTest, ResetThenAcceptKeepsRotationAndCrop)
{
    Corrections record = Neutral();
    record.rotation = 3;
    record.crop = { 0.0f, 0.25f, 1.0f, 0.5f, 1.0f, 0.75f };
    record.inten = 50;
    record.hue1 = 30;
    record.sepia = 1;
    project.SetCorrections(0, record);
    const QImage sepiaThumbnail = project.Photo(0).thumbnail;
    TDialogAnswers answers { { kButtonOk } };
    Edit(0, [&] {
        QTest::mouseClick(window.breset, Qt::LeftButton);
        ExpectShown(kInten, 0);
        ExpectShown(kHue1, 0);
        EXPECT_TRUE(window.hbcolor->Selected());
        QTest::mouseClick(window.bok, Qt::LeftButton);
    });
    ASSERT_EQ(answers.Shown().size(), 1);
    EXPECT_EQ(answers.Shown()[0].text, QStringLiteral("Zresetować wszystkie korekcje ?"));
    const Corrections stored = project.GetCorrections(0);
    EXPECT_TRUE(HasNoColourChange(stored));
    EXPECT_EQ(stored.rotation, 3);
    EXPECT_EQ(std::memcmp(&stored.crop, &record.crop, sizeof record.crop), 0);
    const QImage accepted = project.Photo(0).thumbnail;
    EXPECT_FALSE(accepted == sepiaThumbnail);
    project.RefreshThumbnail(0);
    EXPECT_TRUE(project.Photo(0).thumbnail == accepted) << "the thumbnail shows what was accepted";
}

TEST_F(EditWindowTest, BadNamesAndUnwritableSetsAreReported)
{
    TDialogAnswers answers { { kButtonOk }, { kButtonOk }, { kButtonOk } };
    Edit(0, [&] {
        SaveSetAs(QString(49, u'x'));
        SaveSetAs(QStringLiteral("   "));
        ASSERT_TRUE(WriteFileBytes(AppPath(QStringLiteral("corrections")), "a file where the folder belongs"));
        SaveSetAs(QStringLiteral("Ciepły"));
        AnswerNextInput(QString()); // cancelled: nothing at all
        QTest::mouseClick(window.bsavecor, Qt::LeftButton);
    });
    ASSERT_EQ(answers.Shown().size(), 3);
    EXPECT_EQ(answers.Shown()[0].text, QStringLiteral("Podaj nazwę do 48 znaków !"));
    EXPECT_EQ(answers.Shown()[1].text, QStringLiteral("Podaj nazwę do 48 znaków !"));
    EXPECT_TRUE(answers.Shown()[2].text.startsWith(QStringLiteral("Nie można zapisać korekcji \"Ciepły\" !")));
    EXPECT_EQ(window.StoredCorrections().Count(), 0);
    EXPECT_TRUE(window.lbcorrections->Items().isEmpty());
}

// Every row of the preview comes whole from one render: the unprocessed preview or the preview
// with one of the values the track bar passed through.
TEST_F(EditWindowTest, ATrackBarMovedQuicklyNeverShowsAMixedRow)
{
    ASSERT_TRUE(project.AddPhoto(f.WritePhoto(QStringLiteral("big.jpg"), 800, 533)));
    constexpr int kSteps = 60;
    QImage source;
    int pivot = 0;
    Corrections base;
    std::vector<QImage> snapshots;
    Edit(2, [&] {
        WaitForRender();
        {
            const std::lock_guard<std::mutex> guard(window.State()->lock);
            source = window.State()->source.copy();
            pivot = window.State()->pivot;
            base = window.State()->corrections;
        }
        window.settings[kInten].tb->setFocus();
        for (int i = 0; i < kSteps; ++i) {
            QTest::keyClick(window.settings[kInten].tb, Qt::Key_Right);
            const std::lock_guard<std::mutex> guard(window.State()->lock);
            snapshots.push_back(window.State()->result.copy());
        }
        window.draw->repaint(); // painting takes the same lock
        WaitForRender();
        const std::lock_guard<std::mutex> guard(window.State()->lock);
        snapshots.push_back(window.State()->result.copy());
    });
    ASSERT_EQ(source.size(), QSize(800, 533));
    std::vector<QImage> renders { source };
    for (int value = 0; value <= kSteps; ++value) {
        Corrections record = base;
        record.inten = value;
        QImage rendered = source.copy();
        ApplyColourPass(rendered, TColourPass(record, pivot));
        renders.push_back(rendered);
    }
    int rowsChecked = 0;
    for (std::size_t s = 0; s < snapshots.size(); ++s) {
        for (int y = 0; y < source.height(); ++y) {
            const auto* row = snapshots[s].constScanLine(y);
            const bool whole = std::any_of(renders.begin(), renders.end(), [&](const QImage& render) {
                return std::memcmp(row, render.constScanLine(y), std::size_t(source.bytesPerLine())) == 0;
            });
            ASSERT_TRUE(whole) << "snapshot " << s << " row " << y;
            ++rowsChecked;
        }
    }
    EXPECT_GT(rowsChecked, 0);
    EXPECT_TRUE(snapshots.back() == renders.back()) << "the last value is shown in the end";
}

TEST_F(EditWindowTest, UsedFromTheKeyboardAlone)
{
    QString opened;
    QStringList tabs;
    bool closed = false;
    Edit(0, [&] {
        opened = window.focusWidget()->objectName();
        tabs = TabWalk(&window);
        PressKey(&window, Qt::Key_Escape); // "ANULUJ"
        closed = !window.isVisible();
    });
    EXPECT_EQ(opened, window.pageButtons[0]->objectName());
    const QStringList top { "breset", "bok", "bcancel", "bloadcor", "bsavecor" };
    for (const QString& name : top)
        EXPECT_TRUE(tabs.contains(name)) << name.toStdString();
    const Tfedit::TSettingControls& first = window.settings[0];
    const qsizetype slider = tabs.indexOf(first.tb->objectName());
    ASSERT_GE(slider, 0);
    EXPECT_EQ(tabs.mid(slider, 5),
        (QStringList { first.tb->objectName(), first.edit->objectName(), first.minus->objectName(),
            first.plus->objectName(), first.zero->objectName() }))
        << "a setting's row from left to right";
    EXPECT_GT(slider, tabs.indexOf("bsavecor")) << "the top bar first";
    EXPECT_FALSE(tabs.contains("lbcorrections")) << "the stored sets are shown only on demand";
    EXPECT_TRUE(closed);
}

} // namespace
