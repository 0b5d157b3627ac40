// A window from the keyboard: the Tab order read off where the controls stand, the focus a
// window opens with, default buttons across pages and Enter on a list.
#include "ui/colorframe.h"
#include "ui/gradientbutton.h"
#include "ui/hotlabel.h"
#include "ui/keyboardwindow.h"
#include "ui/nicecheckbox.h"
#include "ui/windowparts.h"

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QShowEvent>
#include <QSignalSpy>
#include <QSpontaneKeyEvent>
#include <QTest>

#include <gtest/gtest.h>

namespace {

QStringList Names(const QList<QWidget*>& widgets)
{
    QStringList names;
    for (const QWidget* widget : widgets)
        names << widget->objectName();
    return names;
}

// Made in an order unlike the layout's, so only the positions can give the right order.
struct TLayoutWindow {
    QDialog window;
    TGradientButton* cancel = MakeTextButton(&window, "cancel", QStringLiteral("anuluj"), QRect(334, 104, 78, 25));
    TGradientButton* ok = MakeTextButton(&window, "ok", QStringLiteral("ok"), QRect(250, 104, 78, 25));
    THotLabel* second = MakeLinkLabel(&window, "second", QRect(8, 117, 220, 15));
    THotLabel* first = MakeLinkLabel(&window, "first", QRect(8, 102, 220, 15));
    QLineEdit* right = MakeNamed<QLineEdit>(&window, "right", QRect(224, 30, 180, 21));
    TNiceCheckBox* lower = MakeNamed<TNiceCheckBox>(&window, "lower", QRect(20, 60, 170, 18));
    TNiceCheckBox* upper = MakeNamed<TNiceCheckBox>(&window, "upper", QRect(20, 30, 170, 18));
    TColorFrame* frame = MakeNamed<TColorFrame>(&window, "frame", QRect(8, 10, 200, 80));
    QWidget* panel = MakeNamed<QWidget>(&window, "panel", QRect(0, 140, 420, 40));
    QLineEdit* inPanel = MakeNamed<QLineEdit>(panel, "inPanel", QRect(8, 8, 100, 21));
    QLineEdit* top = MakeNamed<QLineEdit>(&window, "top", QRect(8, 0, 400, 8));

    TLayoutWindow()
    {
        window.resize(420, 190);
        first->setText(QStringLiteral("www"));
        second->setText(QStringLiteral("rejestracja"));
    }
};

TEST(KeyboardWindow, TabOrderReadsTheLayout)
{
    TLayoutWindow w;
    // The edit beside the frame joins the frame's row after the frame's boxes; the two links
    // stacked beside the buttons are read as a column before them.
    EXPECT_EQ(Names(TabStopsByLayout(&w.window)),
        (QStringList { "top", "upper", "lower", "right", "first", "second", "ok", "cancel", "inPanel" }));
}

TEST(KeyboardWindow, EveryOpeningTabsByLayoutFromTheChosenControl)
{
    TLayoutWindow w;
    UseFromKeyboard(&w.window, w.right);
    w.window.show();
    EXPECT_EQ(w.window.focusWidget(), w.right);
    QStringList walked;
    for (int i = 0; i < 9; ++i) {
        QTest::keyClick(w.window.focusWidget(), Qt::Key_Tab);
        walked << w.window.focusWidget()->objectName();
    }
    EXPECT_EQ(walked, (QStringList { "first", "second", "ok", "cancel", "inPanel", "top", "upper", "lower", "right" }));

    w.ok->setFocus();
    QShowEvent restored; // back from minimised: the customer's place stays
    QSpontaneKeyEvent::setSpontaneous(&restored);
    qApp->notify(&w.window, &restored); // as the window system delivers it, spontaneous
    EXPECT_EQ(w.window.focusWidget(), w.ok);
    w.window.hide();
    w.window.show();
    EXPECT_EQ(w.window.focusWidget(), w.right) << "a new opening starts where the window starts";

    w.window.hide();
    w.right->setEnabled(false);
    w.window.show();
    EXPECT_EQ(w.window.focusWidget(), w.top) << "else the first control that can take it";
}

TEST(KeyboardWindow, EmptyLinkIsPassedBy)
{
    TLayoutWindow w;
    UseFromKeyboard(&w.window, w.ok);
    w.window.show();
    w.first->clear();
    w.window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w.window));
    w.lower->setFocus(Qt::TabFocusReason);
    QTest::keyClick(w.lower, Qt::Key_Tab); // right
    QTest::keyClick(w.right, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), w.second);
    QTest::keyClick(w.second, Qt::Key_Backtab);
    EXPECT_EQ(QApplication::focusWidget(), w.right);
}

TEST(KeyboardWindow, DefaultButtonsFollowThePageShownAndYieldToAFocusedButton)
{
    QDialog window;
    QWidget* page1 = MakeNamed<QWidget>(&window, "page1", QRect(0, 0, 200, 100));
    QWidget* page2 = MakeNamed<QWidget>(&window, "page2", QRect(0, 0, 200, 100));
    auto* next1 = MakeTextButton(page1, "next1", QStringLiteral("Dalej"), QRect(100, 60, 80, 25));
    auto* back = MakeTextButton(page1, "back", QStringLiteral("Anuluj"), QRect(10, 60, 80, 25));
    auto* box = MakeNamed<TNiceCheckBox>(page1, "box", QRect(10, 10, 100, 18));
    auto* edit = MakeNamed<QLineEdit>(page1, "edit", QRect(10, 30, 100, 21));
    auto* next2 = MakeTextButton(page2, "next2", QStringLiteral("ZAMAWIAM"), QRect(100, 60, 80, 25));
    SetDefaultButtons(&window, { next1, next2 });
    window.show();
    page2->hide();
    QSignalSpy pressed1(next1, &TGradientButton::OnClick);
    QSignalSpy pressed2(next2, &TGradientButton::OnClick);
    QSignalSpy pressedBack(back, &TGradientButton::OnClick);

    const struct {
        QWidget* focus;
        Qt::Key key;
        int next1, back;
    } cases[] = {
        { edit, Qt::Key_Return, 1, 0 }, // an edit passes Enter on
        { box, Qt::Key_Enter, 2, 0 }, // so does a check box
        { back, Qt::Key_Return, 2, 1 }, // a focused button takes its own
        { back, Qt::Key_Space, 2, 2 },
        { edit, Qt::Key_Escape, 2, 2 },
    };
    for (const auto& c : cases) {
        QTest::keyClick(c.focus, c.key);
        EXPECT_EQ(pressed1.count(), c.next1) << c.focus->objectName().toStdString();
        EXPECT_EQ(pressedBack.count(), c.back) << c.focus->objectName().toStdString();
    }
    EXPECT_FALSE(box->Checked()) << "Enter does not tick a box";
    QTest::keyClick(box, Qt::Key_Space);
    EXPECT_TRUE(box->Checked());

    page1->hide();
    page2->show();
    QTest::keyClick(&window, Qt::Key_Return);
    EXPECT_EQ(pressed2.count(), 1);
    EXPECT_EQ(pressed1.count(), 2);
    next2->setEnabled(false);
    QTest::keyClick(&window, Qt::Key_Return);
    EXPECT_EQ(pressed2.count(), 1) << "a disabled default is not pressed";
}

TEST(KeyboardWindow, EnterOnAListChoosesItsLineOnly)
{
    QDialog window;
    auto* list = new QListWidget(&window);
    list->addItems({ QStringLiteral("a"), QStringLiteral("b") });
    auto* ok = MakeTextButton(&window, "ok", QStringLiteral("OK"), QRect(0, 0, 10, 10));
    SetDefaultButtons(&window, { ok });
    QSignalSpy okPressed(ok, &TGradientButton::OnClick);
    int chosen = 0;
    AcceptOnEnter(list, [&] { ++chosen; });
    window.show();
    QTest::keyClick(list, Qt::Key_Return);
    QTest::keyClick(list, Qt::Key_Enter, Qt::KeypadModifier);
    QTest::keyClick(list, Qt::Key_Return, Qt::ShiftModifier); // not Enter: goes on, the window ignores it
    EXPECT_EQ(chosen, 2);
    EXPECT_EQ(okPressed.count(), 0);
}

} // namespace
