// The format window in both modes: the list, the two exclusive check boxes, its warnings,
// what it assigns and what it only returns.
#include "editing/uformat.h"
#include "project/projectevents.h"
#include "tests/project/projectfixture.h"
#include "tests/support/windowdriver.h"
#include "ui/nicecheckbox.h"
#include "ui/pagelistbox.h"
#include "ui/umydialog.h"

#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class FormatWindowTest : public ::testing::Test {
protected:
    TProjectFixture f;
    TVDImage& project = *f.project;
    Tfformat& window = fformat();

    void SetUp() override
    {
        for (int i = 0; i < 3; ++i)
            ASSERT_TRUE(project.AddPhoto(f.WritePhoto(QStringLiteral("p%1.jpg").arg(i), 60, 40)));
        window.cbsel->SetChecked(true);
        window.cball->SetChecked(false);
    }
    // Runs the assignment mode; inside, picks entry (or none) and presses "AKCEPTUJ".
    void Assign(int entry)
    {
        OnNextModal([this, entry](QWidget*) {
            window.lbformat->SetItemIndex(entry);
            window.bokClick();
            if (window.isVisible())
                window.reject();
        });
        window.AssignFormat();
    }
};

TEST_F(FormatWindowTest, ListsTheCatalogueWithPrices)
{
    window.lbformat->SetItems({ QStringLiteral("old") });
    window.lbformat->SetItemIndex(0);
    QStringList items;
    int chosen = 0;
    OnNextModal([&](QWidget*) {
        items = window.lbformat->Items();
        chosen = window.lbformat->ItemIndex();
        window.reject();
    });
    EXPECT_EQ(window.PickFormat(false), -1);
    EXPECT_EQ(items,
        (QStringList { QStringLiteral("10x15 - 0.50 zł"), QStringLiteral("13x18 - 1.20 zł"),
            QStringLiteral("30x45 - 15.00 zł") }));
    EXPECT_EQ(chosen, -1) << "rebuilt on every showing";
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Format"));
    EXPECT_EQ(window.size(), QSize(436, 356));
}

TEST_F(FormatWindowTest, NothingChosenWarnsAndStaysInBothModes)
{
    for (const bool pick : { true, false }) {
        TDialogAnswers answers { { kButtonOk } };
        bool stayed = false;
        OnNextModal([&](QWidget*) {
            window.lbformat->SetItemIndex(-1);
            window.bokClick();
            stayed = window.isVisible();
            window.reject();
        });
        if (pick)
            EXPECT_EQ(window.PickFormat(true), -1);
        else
            window.AssignFormat();
        EXPECT_TRUE(stayed);
        ASSERT_EQ(answers.Shown().size(), 1);
        EXPECT_EQ(answers.Shown()[0].text, QStringLiteral("Wybierz format !"));
    }
    EXPECT_EQ(project.Photo(0).formatId, -1);
}

TEST_F(FormatWindowTest, PickModeOnlyAnswers)
{
    bool boxesEnabled = true, setDefaultShown = false;
    OnNextModal([&](QWidget*) {
        boxesEnabled = window.cbsel->isEnabled() || window.cball->isEnabled() || window.cbsetdef->isEnabled();
        setDefaultShown = window.cbsetdef->Checked();
        window.lbformat->SetItemIndex(2);
        window.bokClick();
    });
    EXPECT_EQ(window.PickFormat(true), kFormat30x45);
    EXPECT_FALSE(boxesEnabled);
    EXPECT_TRUE(setDefaultShown);
    EXPECT_EQ(project.defaultFormat, -1);
    for (int i = 0; i < project.Count(); ++i)
        EXPECT_EQ(project.Photo(i).formatId, -1);
}

TEST_F(FormatWindowTest, SelectedMeansSelectedOrFocused)
{
    project.focus = 1;
    QSignalSpy pending(&ProjectEvents(), &TProjectEvents::ThumbnailsPending);
    QSignalSpy changed(&ProjectEvents(), &TProjectEvents::Changed);
    Assign(0);
    EXPECT_EQ(project.Photo(0).formatId, -1);
    EXPECT_EQ(project.Photo(1).formatId, kFormat10x15);
    EXPECT_EQ(project.Photo(2).formatId, -1);
    EXPECT_FALSE(project.Photo(0).thumbPending);
    EXPECT_TRUE(project.Photo(1).thumbPending) << "remade by whoever shows the project";
    EXPECT_EQ(pending.count(), 1);
    EXPECT_EQ(changed.count(), 1);

    project.focus = -1;
    project.Photo(2).selected = true;
    Assign(1);
    EXPECT_EQ(project.Photo(1).formatId, kFormat10x15);
    EXPECT_EQ(project.Photo(2).formatId, kFormat13x18);
}

TEST_F(FormatWindowTest, NoPhotoChosenWarns)
{
    TDialogAnswers answers { { kButtonOk } };
    Assign(0);
    ASSERT_EQ(answers.Shown().size(), 1);
    EXPECT_EQ(answers.Shown()[0].text,
        QStringLiteral("Nie ma zaznaczonych zdjęć !\rWybierz \"wszystkich\" lub zamknij to okno i zaznacz zdjęcia "
                       "którym chcesz przypisać format."));
    EXPECT_EQ(project.Photo(0).formatId, -1);
}

TEST_F(FormatWindowTest, AllPhotosAndDefaultForLaterOnes)
{
    QTest::mouseClick(window.cball, Qt::LeftButton);
    EXPECT_TRUE(window.cball->Checked());
    EXPECT_FALSE(window.cbsel->Checked());
    OnNextModal([this](QWidget*) {
        window.cbsetdef->SetChecked(true);
        window.lbformat->SetItemIndex(1);
        window.bokClick();
    });
    window.AssignFormat();
    for (int i = 0; i < project.Count(); ++i)
        EXPECT_EQ(project.Photo(i).formatId, kFormat13x18) << i;
    EXPECT_EQ(project.defaultFormat, kFormat13x18);

    QTest::mouseClick(window.cball, Qt::LeftButton); // unchecking one checks the other
    EXPECT_FALSE(window.cball->Checked());
    EXPECT_TRUE(window.cbsel->Checked());
}

TEST_F(FormatWindowTest, DefaultChangesEvenForSelectedOnly)
{
    project.Photo(0).selected = true;
    OnNextModal([this](QWidget*) {
        EXPECT_FALSE(window.cbsetdef->Checked()) << "assignment mode starts unchecked";
        window.cbsetdef->SetChecked(true);
        window.lbformat->SetItemIndex(0);
        window.bokClick();
    });
    window.AssignFormat();
    EXPECT_EQ(project.defaultFormat, kFormat10x15);
    EXPECT_EQ(project.Photo(1).formatId, -1);
    ASSERT_TRUE(project.AddPhoto(f.WritePhoto(QStringLiteral("later.jpg"), 60, 40)));
    EXPECT_EQ(project.Photo(3).formatId, kFormat10x15);
}

} // namespace
