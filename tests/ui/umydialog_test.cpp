#include "ui/appevents.h"
#include "ui/gradientbutton.h"
#include "ui/image.h"
#include "ui/nicecheckbox.h"
#include "ui/umydialog.h"

#include <QApplication>
#include <QLabel>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>

namespace {

// Runs `step` once the modal loop of the dialog has started.
void WhenModal(std::function<void()> step)
{
    QTimer::singleShot(0, qApp, [step = std::move(step)] {
        if (!fdialog().isVisible()) {
            WhenModal(step);
            return;
        }
        step();
    });
}

} // namespace

TEST(Tfdialog, TwoButtonsStandUnderTheTextFrameAt151And236)
{
    TDialogAnswers answers { { kButtonNo } };
    Tfdialog& dialog = fdialog();
    EXPECT_FALSE(dialog.Question(QStringLiteral("Usunąć zdjęcia ?")));
    EXPECT_EQ(dialog.byes->geometry(), QRect(151, 112, 75, 25));
    EXPECT_EQ(dialog.bno->geometry(), QRect(236, 112, 75, 25));
    EXPECT_TRUE(dialog.byes->isVisibleTo(&dialog));
    EXPECT_TRUE(dialog.bno->isVisibleTo(&dialog));
    EXPECT_FALSE(dialog.bcancel->isVisibleTo(&dialog));
    EXPECT_TRUE(dialog.iquestion->isVisibleTo(&dialog));
    EXPECT_FALSE(dialog.iexclamation->isVisibleTo(&dialog));
    EXPECT_EQ(dialog.byes->text(), QStringLiteral("OK"));
    EXPECT_EQ(dialog.bno->text(), QStringLiteral("NIE"));
    EXPECT_EQ(dialog.height(), 144);
    EXPECT_EQ(dialog.width(), 413);
}

TEST(Tfdialog, EachKindShowsItsButtonsAndIcon)
{
    Tfdialog& dialog = fdialog();
    struct Case {
        std::function<void()> show;
        TDialogButtons buttons;
        int icon;
        TImage* visibleIcon;
    };
    const TDialogButtons two = TDialogButton::First | TDialogButton::Second;
    const TDialogButtons one = TDialogButton::First;
    const Case cases[] = {
        { [&] { dialog.Question(QStringLiteral("q"), diError); }, two, diError, dialog.ierror },
        { [&] { dialog.QuestionWarning(QStringLiteral("q")); }, two, diExclamation, dialog.iexclamation },
        { [&] { dialog.Warning(QStringLiteral("w")); }, one, diExclamation, dialog.iexclamation },
        { [&] { dialog.Error(QStringLiteral("e")); }, one, diError, dialog.ierror },
        { [&] { dialog.Information(QStringLiteral("i")); }, one, diInformation, dialog.iinfo },
    };
    for (const Case& c : cases) {
        TDialogAnswers answers { { kButtonOk } };
        c.show();
        ASSERT_EQ(answers.Shown().size(), 1);
        EXPECT_EQ(answers.Shown()[0].buttons, c.buttons);
        EXPECT_EQ(answers.Shown()[0].icon, c.icon);
        EXPECT_TRUE(c.visibleIcon->isVisibleTo(&dialog));
        if (c.buttons == one) {
            EXPECT_EQ(dialog.byes->x(), 194);
        }
    }
    TDialogAnswers answers { { kButtonOk } };
    dialog.ShowDialog(QStringLiteral("x"), one, 7);
    for (TImage* icon : { dialog.iexclamation, dialog.iinfo, dialog.ierror, dialog.iquestion })
        EXPECT_FALSE(icon->isVisibleTo(&dialog));
}

TEST(Tfdialog, TextKeepsAmpersandsAndBreaksLinesAtCarriageReturns)
{
    TDialogAnswers answers { { kButtonOk } };
    fdialog().Information(QStringLiteral("Foto & Co\rdruga linia"));
    EXPECT_EQ(fdialog().Label1->text(), QStringLiteral("Foto & Co\ndruga linia"));
    EXPECT_EQ(answers.Shown()[0].text, QStringLiteral("Foto & Co\rdruga linia"));
}

TEST(Tfdialog, QuestionOnceFlows)
{
    struct Case {
        const char* name;
        bool askFlag;
        QList<TDialogAnswer> answers;
        bool result;
        bool askFlagAfter;
        int shown;
    };
    const Case cases[] = {
        { "flag off: no question", false, {}, true, false, 0 },
        { "ticked, OK", true, { { kButtonOk, true } }, true, false, 1 },
        { "ticked, NIE, confirmed", true, { { kButtonNo, true }, { kButtonOk } }, false, false, 2 },
        { "ticked, NIE, not confirmed", true, { { kButtonNo, true }, { kButtonNo } }, false, true, 2 },
        { "not ticked, OK", true, { { kButtonOk } }, true, true, 1 },
        { "not ticked, NIE", true, { { kButtonNo } }, false, true, 1 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TDialogAnswers answers;
        for (const TDialogAnswer& answer : c.answers)
            answers.Add(answer);
        bool askFlag = c.askFlag;
        EXPECT_EQ(fdialog().QuestionOnce(QStringLiteral("Zakończyć pracę programu ?"), askFlag), c.result);
        EXPECT_EQ(askFlag, c.askFlagAfter);
        ASSERT_EQ(answers.Shown().size(), c.shown);
        EXPECT_EQ(answers.Remaining(), 0);
        if (c.shown >= 1) {
            EXPECT_TRUE(answers.Shown()[0].checkBoxShown);
            EXPECT_EQ(answers.Shown()[0].icon, diQuestion);
        }
        if (c.shown == 2) {
            EXPECT_EQ(answers.Shown()[1].text, Tfdialog::ConfirmationText());
            EXPECT_EQ(answers.Shown()[1].icon, diExclamation);
            EXPECT_FALSE(answers.Shown()[1].checkBoxShown);
        }
        EXPECT_EQ(fdialog().height(), 144); // shrunk again
    }
}

TEST(Tfdialog, QuestionOnceShowsTheCheckBoxClearedAndEnlargesTheWindow)
{
    Tfdialog& dialog = fdialog();
    dialog.cbflag->SetChecked(true);
    int heightWhileAsking = 0;
    bool checkedWhileAsking = true;
    bool askFlag = true;
    WhenModal([&] {
        heightWhileAsking = fdialog().height();
        checkedWhileAsking = fdialog().cbflag->isChecked();
        QTest::mouseClick(fdialog().byes, Qt::LeftButton);
    });
    EXPECT_TRUE(dialog.QuestionOnce(QStringLiteral("Usunąć ?"), askFlag));
    EXPECT_EQ(heightWhileAsking, 175);
    EXPECT_FALSE(checkedWhileAsking);
    EXPECT_TRUE(askFlag);
}

TEST(Tfdialog, InformationOnceTickedIsNotShownAgain)
{
    bool showFlag = true;
    {
        TDialogAnswers answers { { kButtonOk, true } };
        fdialog().InformationOnce(QStringLiteral("Wybierz domyślny format zdjęć ..."), showFlag);
        ASSERT_EQ(answers.Shown().size(), 1);
        EXPECT_EQ(answers.Shown()[0].icon, diInformation);
        EXPECT_EQ(answers.Shown()[0].buttons, TDialogButtons(TDialogButton::First));
    }
    EXPECT_FALSE(showFlag);
    TDialogAnswers none;
    fdialog().InformationOnce(QStringLiteral("Wybierz domyślny format zdjęć ..."), showFlag);
    EXPECT_TRUE(none.Shown().isEmpty());
}

TEST(Tfdialog, UnexpectedDialogThrowsInsteadOfWaiting)
{
    TDialogAnswers answers;
    EXPECT_THROW(fdialog().Error(QStringLiteral("Błąd")), std::logic_error);
    TDialogAnswers wrongTick { { kButtonOk, true } };
    EXPECT_THROW(fdialog().Error(QStringLiteral("Błąd")), std::logic_error);
}

TEST(Tfdialog, CanOnlyBeLeftThroughAButton)
{
    SetApplicationTitle(QStringLiteral("Foto Lab"));
    bool stillOpen = false;
    QString title;
    QWidget* focused = nullptr;
    WhenModal([&] {
        Tfdialog& dialog = fdialog();
        title = dialog.windowTitle();
        focused = dialog.focusWidget();
        dialog.close(); // title-bar close, Alt+F4
        QTest::keyClick(&dialog, Qt::Key_Escape); // Escape
        QTest::keyClick(&dialog, Qt::Key_F4, Qt::AltModifier);
        stillOpen = dialog.isVisible();
        QTest::mouseClick(dialog.bno, Qt::LeftButton);
    });
    EXPECT_EQ(
        fdialog().ShowDialog(QStringLiteral("?"), TDialogButton::First | TDialogButton::Second, diQuestion), kButtonNo);
    EXPECT_TRUE(stillOpen);
    EXPECT_FALSE(fdialog().isVisible());
    EXPECT_EQ(title, QStringLiteral("Foto Lab"));
    // Qt's display name stays unset: the window system would append it to every caption.
    EXPECT_EQ(QGuiApplication::applicationDisplayName(), QCoreApplication::applicationName());
    EXPECT_EQ(focused, fdialog().byes);
    SetApplicationTitle(QString());
}

TEST(Tfdialog, ThirdButtonReturnsTwo)
{
    WhenModal([] { QTest::mouseClick(fdialog().bcancel, Qt::LeftButton); });
    EXPECT_EQ(fdialog().ShowDialog(
                  QStringLiteral("?"), TDialogButton::First | TDialogButton::Second | TDialogButton::Third, diQuestion),
        kButtonCancel);
    // three buttons: row width 255, first left = 72 + (329 - 255) / 2 = 109
    EXPECT_EQ(fdialog().byes->x(), 109);
    EXPECT_EQ(fdialog().bno->x(), 194);
    EXPECT_EQ(fdialog().bcancel->x(), 279);
}

TEST(Tfdialog, EscapeIsTheCancelOrTheOnlyButton)
{
    const struct {
        TDialogButtons buttons;
        int answer; // -1: Escape leaves the dialog open
    } cases[] = {
        { TDialogButton::First, kButtonOk },
        { TDialogButton::First | TDialogButton::Second, -1 },
        { TDialogButton::First | TDialogButton::Second | TDialogButton::Third, kButtonCancel },
    };
    for (const auto& c : cases) {
        bool open = false;
        WhenModal([&] {
            QTest::keyClick(fdialog().focusWidget(), Qt::Key_Escape);
            open = fdialog().isVisible();
            if (open)
                QTest::keyClick(fdialog().bno, Qt::Key_Return); // Enter presses the focused button
        });
        const int answer = fdialog().ShowDialog(QStringLiteral("?"), c.buttons, diQuestion);
        EXPECT_EQ(open, c.answer < 0);
        EXPECT_EQ(answer, c.answer < 0 ? kButtonNo : c.answer);
    }
}
