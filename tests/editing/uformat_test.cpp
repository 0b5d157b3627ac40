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

namespace {

TEST_F(FormatWindowTest, ChosenAndAssignedFromTheKeyboardAlone)
{
    project.focus = 0;
    QWidget* focused = nullptr;
    QStringList tabs;
    OnNextModal([&](QWidget*) {
        focused = window.focusWidget();
        tabs = TabWalk(&window);
        PressKey(&window, Qt::Key_End); // 30x45
        PressKey(&window, Qt::Key_Up); // 13x18
        PressKey(&window, Qt::Key_Return); // "AKCEPTUJ"
    });
    window.AssignFormat();
    EXPECT_EQ(focused, window.lbformat);
    EXPECT_EQ(tabs, (QStringList { "cbsel", "cball", "cbsetdef", "bok", "bcancel" }));
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(project.Photo(0).formatId, kFormat13x18);
    EXPECT_EQ(project.Photo(1).formatId, -1);

    // Space ticks a box, Enter on a box still accepts.
    OnNextModal([&](QWidget*) {
        PressKey(&window, Qt::Key_Home);
        PressKey(&window, Qt::Key_Tab);
        PressKey(&window, Qt::Key_Tab); // "wszystkich"
        PressKey(&window, Qt::Key_Space);
        PressKey(&window, Qt::Key_Return);
    });
    window.AssignFormat();
    EXPECT_TRUE(window.cball->Checked());
    for (int i = 0; i < project.Count(); ++i)
        EXPECT_EQ(project.Photo(i).formatId, kFormat10x15) << i;
}

struct TPickKeys {
    const char* name;
    std::vector<int> keys;
    int result;
    int warnings;
};

class FormatPickKeys : public FormatWindowTest, public testing::WithParamInterface<TPickKeys> { };

TEST_P(FormatPickKeys, AnswerTheKeys)
{
    const TPickKeys& c = GetParam();
    TDialogAnswers answers { { kButtonOk }, { kButtonOk } };
    bool closedByKeys = false;
    OnNextModal([&](QWidget*) {
        for (const int key : c.keys)
            PressKey(&window, key);
        closedByKeys = !window.isVisible();
        if (!closedByKeys)
            window.reject();
    });
    EXPECT_EQ(window.PickFormat(false), c.result);
    EXPECT_TRUE(closedByKeys);
    EXPECT_EQ(answers.Shown().size(), qsizetype(c.warnings));
}

INSTANTIATE_TEST_SUITE_P(Keys, FormatPickKeys,
    testing::Values(TPickKeys { "DownEnter", { Qt::Key_Down, Qt::Key_Return }, kFormat10x15, 0 },
        TPickKeys { "EndKeypadEnter", { Qt::Key_End, Qt::Key_Enter }, kFormat30x45, 0 },
        TPickKeys { "PageDownStopsAtTheEnd", { Qt::Key_PageDown, Qt::Key_Return }, kFormat30x45, 0 },
        TPickKeys { "EscapeCancels", { Qt::Key_Down, Qt::Key_Escape }, -1, 0 },
        TPickKeys { "EnterWithoutChoiceWarnsAndStays", { Qt::Key_Return, Qt::Key_Escape }, -1, 1 },
        // The boxes are disabled in this mode: Tab goes straight to the buttons.
        TPickKeys { "TabToAccept", { Qt::Key_Down, Qt::Key_Tab, Qt::Key_Return }, kFormat10x15, 0 },
        TPickKeys { "TabToCancel", { Qt::Key_Down, Qt::Key_Tab, Qt::Key_Tab, Qt::Key_Space }, -1, 0 }),
    [](const testing::TestParamInfo<TPickKeys>& info) { return std::string(info.param.name); });

TEST_F(FormatWindowTest, TheDefaultFormatIsMarked)
{
    QStringList unmarked, marked, afterAssignment;
    OnNextModal([&](QWidget*) {
        unmarked = window.lbformat->Items();
        window.reject();
    });
    window.PickFormat(false);
    project.defaultFormat = kFormat13x18;
    OnNextModal([&](QWidget*) {
        marked = window.lbformat->Items();
        window.cbsetdef->SetChecked(true);
        window.cball->SetChecked(true);
        window.cbsel->SetChecked(false);
        window.lbformat->SetItemIndex(2);
        window.bokClick();
    });
    window.AssignFormat();
    OnNextModal([&](QWidget*) {
        afterAssignment = window.lbformat->Items();
        window.reject();
    });
    window.PickFormat(false);
    const QStringList plain { QStringLiteral("10x15 - 0.50 zł"), QStringLiteral("13x18 - 1.20 zł"),
        QStringLiteral("30x45 - 15.00 zł") };
    EXPECT_EQ(unmarked, plain);
    EXPECT_EQ(marked, (QStringList { plain[0], plain[1] + " *", plain[2] }));
    EXPECT_EQ(afterAssignment, (QStringList { plain[0], plain[1], plain[2] + " *" }));
}

} // namespace
