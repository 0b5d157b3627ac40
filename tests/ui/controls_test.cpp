#include "skin/drawrules.h"
#include "ui/advprogressbar.h"
#include "ui/colorframe.h"
#include "ui/gradientbutton.h"
#include "ui/gradientprogressbar.h"
#include "ui/hotlabel.h"
#include "ui/hotwinbitmap.h"
#include "ui/line.h"
#include "ui/mcheckbox.h"
#include "ui/mousedpanel.h"
#include "ui/nicecheckbox.h"
#include "ui/statuslabel.h"
#include "ui/widgetcolors.h"
#include "ui/windowparts.h"

#include <QAction>
#include <QApplication>
#include <QEnterEvent>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace {

QImage Render(QWidget& widget)
{
    return widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

int CountPixels(const QImage& image, const QColor& color)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            count += image.pixelColor(x, y) == color ? 1 : 0;
    }
    return count;
}

// Text without smoothing, so its strokes carry exactly the pen colour.
QFont CrispFont()
{
    QFont font;
    font.setPixelSize(16);
    font.setBold(true);
    font.setStyleStrategy(QFont::NoAntialias);
    return font;
}

void Hover(QWidget& widget)
{
    QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
    QApplication::sendEvent(&widget, &enter);
}

void Unhover(QWidget& widget)
{
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&widget, &leave);
}

} // namespace

TEST(TGradientButton, FaceIsShadedRowByRow)
{
    TGradientButton button;
    button.resize(75, 25);
    button.SetFramed(false);
    button.SetBorderStyle(vd::mbsNone);
    button.SetColor(QColor(128, 128, 128));
    const QImage image = Render(button);
    EXPECT_EQ(image.pixelColor(10, 0), QColor(80, 80, 80));
    EXPECT_EQ(image.pixelColor(10, 12), QColor(128, 128, 128));
    EXPECT_EQ(image.pixelColor(10, 24), QColor(176, 176, 176));
}

TEST(TGradientButton, OutlineAndEdgeSwapWhenPressed)
{
    QWidget parent;
    SetBackgroundColor(&parent, QColor(1, 2, 3));
    TGradientButton button(&parent);
    button.setGeometry(0, 0, 40, 20);
    button.SetFrameColor(QColor(10, 10, 10));
    button.SetBorderTopColor(QColor(250, 0, 0));
    button.SetBorderBottomColor(QColor(0, 0, 250));
    QImage image = Render(button);
    EXPECT_EQ(image.pixelColor(0, 0), QColor(10, 10, 10));
    EXPECT_EQ(image.pixelColor(39, 19), QColor(10, 10, 10));
    EXPECT_EQ(image.pixelColor(1, 1), QColor(250, 0, 0));
    EXPECT_EQ(image.pixelColor(1, 18), QColor(250, 0, 0));
    EXPECT_EQ(image.pixelColor(38, 1), QColor(0, 0, 250));
    EXPECT_EQ(image.pixelColor(38, 18), QColor(0, 0, 250));

    button.setDown(true); // drawn one pixel right and down, edge colours swapped
    image = Render(button);
    EXPECT_EQ(image.pixelColor(1, 1), QColor(10, 10, 10));
    EXPECT_EQ(image.pixelColor(2, 2), QColor(0, 0, 250));
    EXPECT_EQ(image.pixelColor(39, 18), QColor(250, 0, 0));
}

TEST(TGradientButton, DisabledCaptionReadsOnItsShadedFace)
{
    struct Case {
        QColor face;
        bool darker;
    };
    const Case cases[] = {
        { QColor(200, 200, 200), true }, // lightness 200 >= 96
        { QColor(40, 60, 80), false }, // lightness 60 < 96
    };
    for (const Case& c : cases) {
        TGradientButton button;
        button.resize(120, 30);
        button.setFont(CrispFont());
        button.SetFramed(false);
        button.SetCaption(QStringLiteral("WMWM"));
        button.SetColor(c.face);
        button.SetFontColor(QColor(255, 0, 255));
        button.setEnabled(false);
        // Crisp strokes: every caption pixel is the pen; the face is shaded row by row.
        const QImage image = Render(button);
        QColor pen;
        int top = image.height(), bottom = -1;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 2; x < 110; ++x)
                if (image.pixelColor(x, y) != image.pixelColor(115, y)) {
                    EXPECT_TRUE(!pen.isValid() || image.pixelColor(x, y) == pen);
                    pen = image.pixelColor(x, y);
                    top = std::min(top, y);
                    bottom = std::max(bottom, y);
                }
        ASSERT_TRUE(pen.isValid()) << c.face.name().toStdString();
        EXPECT_NE(pen, QColor(255, 0, 255)); // never the enabled font colour
        EXPECT_EQ(pen.red() < c.face.red(), c.darker);
        for (int y = top; y <= bottom; ++y)
            EXPECT_GE(ContrastRatio(pen, image.pixelColor(115, y)), kReadableContrast) << y;
    }
}

TEST(TGradientButton, HotAndSelectedFacesWithTheirCaptionColours)
{
    const QColor font(20, 20, 20);
    const QColor selFont(250, 250, 250);
    TGradientButton button;
    button.resize(120, 30);
    button.setFont(CrispFont());
    button.SetCaption(QStringLiteral("WMWM"));
    button.SetBrightness(0);
    button.SetColor(QColor(100, 100, 100));
    button.SetHotColor(QColor(255, 255, 0));
    button.SetSelColor(QColor(0, 0, 200));
    button.SetFontColor(font);
    button.SetSelFontColor(selFont);
    QSignalSpy entered(&button, &TGradientButton::OnMouseEnter);
    QSignalSpy left(&button, &TGradientButton::OnMouseLeave);
    const auto expectLook = [&](const QColor& face, const QColor& caption, const QColor& notCaption) {
        const QImage image = Render(button);
        EXPECT_EQ(image.pixelColor(4, 4), face);
        EXPECT_GT(CountPixels(image, caption), 20) << caption.name().toStdString();
        EXPECT_EQ(CountPixels(image, notCaption), 0) << notCaption.name().toStdString();
    };
    expectLook(QColor(100, 100, 100), font, selFont);
    button.SetSelected(true);
    expectLook(QColor(0, 0, 200), selFont, font);
    Hover(button);
    EXPECT_TRUE(button.Hot());
    // Selected under the mouse: the hot face keeps the dark font, never white on yellow.
    expectLook(QColor(255, 255, 0), font, selFont);
    Unhover(button);
    expectLook(QColor(0, 0, 200), selFont, font);
    EXPECT_EQ(entered.count(), 1);
    EXPECT_EQ(left.count(), 1);
    button.setEnabled(false);
    Hover(button);
    EXPECT_FALSE(button.Hot());
}

// A row of buttons as a message dialog has them: leave events that never come (the pointer
// moved on quickly, the window closed under it, a modal window opened over it) leave no
// second button hot.
TEST(TGradientButton, OnlyOneButtonIsHotWhateverLeaveEventsGoMissing)
{
    QWidget window;
    window.resize(200, 40);
    TGradientButton no(&window);
    TGradientButton close(&window);
    close.move(100, 0);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QSignalSpy noLeft(&no, &TGradientButton::OnMouseLeave);

    Hover(no);
    Hover(close); // the leave of "no" went missing
    EXPECT_FALSE(no.Hot());
    EXPECT_TRUE(close.Hot());
    EXPECT_EQ(noLeft.count(), 1); // its hint or look is undone like on a real leave

    window.hide(); // closed by a click while under the pointer
    EXPECT_FALSE(close.Hot());
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_FALSE(no.Hot());
    EXPECT_FALSE(close.Hot());

    Hover(no);
    QWidget modal;
    modal.setWindowModality(Qt::ApplicationModal);
    modal.show(); // opened by the click: the window under it gets no leave event any more
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&modal));
    EXPECT_FALSE(no.Hot());
    modal.hide();

    Hover(close);
    Unhover(close);
    EXPECT_FALSE(close.Hot());
    Hover(no);
    EXPECT_TRUE(no.Hot());
}

TEST(TGradientButton, GlyphSitsLeftAndCentredWithItsCornerColourSeeThrough)
{
    QImage glyph(4, 6, QImage::Format_RGB32);
    glyph.fill(QColor(255, 0, 255));
    glyph.setPixelColor(1, 1, QColor(200, 40, 40));
    TGradientButton button;
    button.resize(40, 24);
    button.SetBrightness(0);
    button.SetColor(QColor(100, 100, 100));
    button.SetGlyph(glyph);
    button.SetGlyphTransparent(true);
    // inside outline and edge: (2, 2)..(37, 21); glyph at left 2 + 2, top 2 + (20 - 6) / 2
    QImage image = Render(button);
    EXPECT_EQ(image.pixelColor(4 + 1, 9 + 1), QColor(200, 40, 40));
    EXPECT_EQ(image.pixelColor(4, 9), QColor(100, 100, 100));

    button.SetGlyphTransparent(false);
    EXPECT_EQ(Render(button).pixelColor(4, 9), QColor(255, 0, 255));
    button.setEnabled(false); // dgBW: (200 + 40 + 40) / 3
    EXPECT_EQ(Render(button).pixelColor(5, 10), QColor(93, 93, 93));
    button.SetDisabledGlyphStyle(vd::dgDarken); // minus |Brightness|
    EXPECT_EQ(Render(button).pixelColor(5, 10), QColor(200, 40, 40));
    button.SetBrightness(-30);
    EXPECT_EQ(Render(button).pixelColor(5, 10), QColor(170, 10, 10));
}

TEST(TGradientButton, FollowsItsActionAndDoubleClickPressesTwice)
{
    QAction action(QStringLiteral("Dodaj zdjęcia ..."));
    TGradientButton button;
    button.resize(139, 25);
    button.SetCaption(QStringLiteral("własny"));
    button.SetAction(&action);
    QSignalSpy triggered(&action, &QAction::triggered);
    EXPECT_EQ(button.ShownCaption(), QStringLiteral("własny"));
    button.SetUseActionCaption(true);
    EXPECT_EQ(button.ShownCaption(), QStringLiteral("Dodaj zdjęcia ..."));
    action.setEnabled(false);
    EXPECT_FALSE(button.isEnabled());
    action.setEnabled(true);
    QSignalSpy clicks(&button, &TGradientButton::OnClick);
    QTest::mouseClick(&button, Qt::LeftButton); // what the desktop sends for a double click:
    QTest::mouseDClick(&button, Qt::LeftButton); // press, release, double click, release
    QTest::mouseRelease(&button, Qt::LeftButton);
    EXPECT_EQ(clicks.count(), 2);
    EXPECT_EQ(triggered.count(), 2);
}

TEST(TNiceCheckBox, TwoClicksEndUncheckedWithTwoClickEvents)
{
    TNiceCheckBox box;
    EXPECT_EQ(box.size(), QSize(97, 18));
    EXPECT_EQ(box.text(), QStringLiteral("NiceCheckBox"));
    EXPECT_EQ(box.BorderStyle(), vd::mbsNone);
    QList<bool> checkedAtClick;
    QObject::connect(&box, &TNiceCheckBox::OnClick, [&] { checkedAtClick << box.Checked(); });
    QTest::mouseClick(&box, Qt::LeftButton);
    QTest::mouseClick(&box, Qt::LeftButton);
    EXPECT_FALSE(box.Checked());
    EXPECT_EQ(checkedAtClick, (QList<bool> { true, false }));
}

TEST(TNiceCheckBox, BoxAndTick)
{
    QWidget parent;
    SetBackgroundColor(&parent, QColor(7, 8, 9));
    TNiceCheckBox box(&parent);
    box.setGeometry(0, 0, 97, 18);
    box.SetButtonColor(QColor(220, 220, 220));
    box.SetCheckColor(QColor(0, 0, 255));
    box.SetFrameColor(QColor(30, 30, 30));
    QImage image = Render(box);
    EXPECT_EQ(image.pixelColor(0, 0), QColor(7, 8, 9)); // the parent's colour
    EXPECT_EQ(image.pixelColor(2, 2), QColor(30, 30, 30)); // outline of the box (2..15)
    EXPECT_EQ(image.pixelColor(15, 15), QColor(30, 30, 30));
    EXPECT_EQ(image.pixelColor(8, 8), QColor(220, 220, 220)); // flat inside (5..12)
    EXPECT_EQ(CountPixels(image, QColor(0, 0, 255)), 0);
    box.SetChecked(true);
    image = Render(box);
    EXPECT_GT(CountPixels(image, QColor(0, 0, 255)), 10);
    EXPECT_EQ(image.pixelColor(8, 11), QColor(0, 0, 255)); // middle of the bottom edge
}

TEST(TLine, ThicknessFollowsThePen)
{
    TLine line;
    line.SetPenColor(QColor(9, 99, 199));
    line.SetPenWidth(4);
    EXPECT_EQ(line.size(), QSize(100, 4));
    line.resize(100, 30);
    EXPECT_EQ(line.height(), 4);
    const QImage image = Render(line);
    for (int y = 0; y < 4; ++y)
        EXPECT_EQ(image.pixelColor(50, y), QColor(9, 99, 199)) << y; // the pen of 4 centred on y = 2
    line.SetOrientation(vd::LVertical);
    EXPECT_EQ(line.width(), 4);
}

TEST(TGradientProgressBar, PercentCaptionAndRange)
{
    TGradientProgressBar bar;
    bar.SetMax(200);
    bar.SetAutoCaption(true);
    bar.SetPosition(50);
    EXPECT_EQ(bar.Percent(), 25);
    EXPECT_EQ(bar.ShownCaption(), QStringLiteral("25 %"));
    bar.SetPosition(1); // 0.5 % rounds up
    EXPECT_EQ(bar.Percent(), 1);
    bar.SetPosition(-10);
    EXPECT_EQ(bar.Position(), 0);
    bar.SetMax(-20); // below Min: swapped
    EXPECT_EQ(bar.Min(), -20);
    EXPECT_EQ(bar.Max(), 0);
    bar.SetMax(-20);
    EXPECT_EQ(bar.Percent(), 0); // Max = Min
}

TEST(TGradientProgressBar, FilledPartAndEdges)
{
    TGradientProgressBar bar;
    bar.resize(100, 18);
    bar.SetFrameColor(QColor(5, 5, 5));
    bar.SetBackColor(QColor(150, 150, 150));
    bar.SetBorderTopColor(QColor(255, 0, 0));
    bar.SetBorderBottomColor(QColor(0, 0, 255));
    bar.SetBrightness(0);
    bar.SetColor(QColor(0, 160, 0));
    bar.SetPosition(50); // 50 % of the inner 98 pixels: columns 1..49
    const QImage image = Render(bar);
    EXPECT_EQ(image.pixelColor(0, 0), QColor(5, 5, 5));
    EXPECT_EQ(image.pixelColor(1, 1), QColor(255, 0, 0));
    EXPECT_EQ(image.pixelColor(49, 8), QColor(0, 0, 255));
    EXPECT_EQ(image.pixelColor(25, 8), QColor(0, 160, 0));
    EXPECT_EQ(image.pixelColor(50, 8), QColor(5, 5, 5)); // frame line at the end of the filled part
    EXPECT_EQ(image.pixelColor(70, 1), QColor(100, 100, 100)); // Adjust(BackColor, -50) along the top
    EXPECT_EQ(image.pixelColor(70, 8), QColor(150, 150, 150));
}

TEST(TGradientProgressBar, SnappedCaptionFollowsTheFilledPart)
{
    TGradientProgressBar bar;
    bar.resize(200, 18);
    bar.setFont(CrispFont());
    bar.SetFontColor(QColor(255, 255, 0));
    bar.SetShowCaption(true);
    bar.SetAutoCaption(true);
    bar.SetSnapCaption(true);
    const auto captionColumns = [&bar] {
        const QImage image = Render(bar);
        int first = -1, last = -1;
        for (int x = 0; x < image.width(); ++x) {
            for (int y = 0; y < image.height(); ++y) {
                if (image.pixelColor(x, y) == QColor(255, 255, 0)) {
                    first = first < 0 ? x : first;
                    last = x;
                }
            }
        }
        return std::pair { first, last };
    };
    bar.SetPosition(80); // fits inside: ends at the filled part's end (1 + 158)
    auto [first, last] = captionColumns();
    EXPECT_LT(last, 159);
    EXPECT_GT(last, 150);
    bar.SetPosition(5); // does not fit: starts 2 pixels after the filled part (1 + 9)
    std::tie(first, last) = captionColumns();
    EXPECT_GE(first, 12);
    EXPECT_LT(first, 16);
}

TEST(TColorFrame, EtchedOutlinesInAutoColours)
{
    QWidget parent;
    SetBackgroundColor(&parent, QColor(100, 100, 100));
    TColorFrame frame(&parent);
    frame.setGeometry(0, 0, 50, 30);
    frame.SetAutoFrameColor(true);
    QImage image = Render(frame);
    EXPECT_EQ(image.pixelColor(0, 0), QColor(0, 0, 0)); // Adjust(-100): (0,0)..(47,27)
    EXPECT_EQ(image.pixelColor(47, 27), QColor(0, 0, 0));
    EXPECT_EQ(image.pixelColor(1, 1), QColor(200, 200, 200)); // Adjust(+100): (1,1)..(48,28)
    EXPECT_EQ(image.pixelColor(48, 28), QColor(200, 200, 200));
    EXPECT_EQ(image.pixelColor(49, 29), QColor(100, 100, 100)); // outside both
    frame.SetReverseColors(true);
    image = Render(frame);
    EXPECT_EQ(image.pixelColor(0, 0), QColor(200, 200, 200));
    EXPECT_EQ(image.pixelColor(1, 1), QColor(0, 0, 0));
}

TEST(TMousedPanel, BevelsBorderAndChildrenColour)
{
    TMousedPanel panel;
    panel.resize(40, 30);
    panel.SetColor(QColor(50, 60, 70));
    panel.SetBevelTopColor(QColor(255, 0, 0));
    panel.SetBevelBottomColor(QColor(0, 0, 255));
    QImage image = Render(panel);
    EXPECT_EQ(image.pixelColor(0, 0), QColor(255, 0, 0));
    EXPECT_EQ(image.pixelColor(39, 29), QColor(0, 0, 255));
    EXPECT_EQ(image.pixelColor(20, 15), QColor(50, 60, 70));
    panel.SetBevelOuter(vd::bvLowered);
    panel.SetDrawBorder(true);
    panel.SetBorderWidth(2);
    panel.SetBorderColor(QColor(9, 9, 9));
    image = Render(panel);
    EXPECT_EQ(image.pixelColor(1, 1), QColor(9, 9, 9));
    EXPECT_EQ(image.pixelColor(2, 2), QColor(0, 0, 255));
    EXPECT_EQ(image.pixelColor(37, 27), QColor(255, 0, 0));
    TColorFrame child(&panel);
    EXPECT_EQ(child.Color(), QColor(50, 60, 70));
}

TEST(TStatusLabel, DisabledUsesTheDisabledFont)
{
    TStatusLabel label;
    label.resize(200, 20);
    label.SetCaptionFont(CrispFont());
    label.SetStatusFont(CrispFont());
    label.SetDisabledFont(CrispFont());
    label.SetCaptionFontColor(QColor(255, 0, 0));
    label.SetStatusFontColor(QColor(0, 0, 255));
    label.SetDisabledFontColor(QColor(0, 200, 0));
    QImage image = Render(label);
    EXPECT_GT(CountPixels(image, QColor(255, 0, 0)), 10);
    EXPECT_GT(CountPixels(image, QColor(0, 0, 255)), 10);
    EXPECT_EQ(CountPixels(image, QColor(0, 200, 0)), 0);
    label.setEnabled(false);
    image = Render(label);
    EXPECT_EQ(CountPixels(image, QColor(255, 0, 0)), 0);
    EXPECT_GT(CountPixels(image, QColor(0, 200, 0)), 20);
}

TEST(THotLabel, TakesTheHotLookAndGivesItBack)
{
    THotLabel label;
    label.setText(QStringLiteral("www"));
    QFont own = label.font();
    own.setPixelSize(11);
    label.setFont(own);
    QFont hot = own;
    hot.setUnderline(true);
    label.SetHotFont(hot);
    label.SetHotFontColor(QColor(1, 2, 3));
    label.SetHotColor(QColor(4, 5, 6));
    Hover(label);
    EXPECT_TRUE(label.font().underline());
    EXPECT_EQ(label.palette().color(QPalette::WindowText), QColor(1, 2, 3));
    EXPECT_EQ(label.palette().color(QPalette::Window), QColor(4, 5, 6));
    EXPECT_TRUE(label.autoFillBackground());
    Unhover(label);
    EXPECT_FALSE(label.font().underline());
    EXPECT_FALSE(label.autoFillBackground());
}

TEST(KeyboardControls, ButtonsBoxesAndLinksTakeTheirKeys)
{
    QWidget window;
    auto* button = new TGradientButton(&window);
    auto* box = new TNiceCheckBox(&window);
    auto* link = new THotLabel(&window);
    link->SetFocusable(true);
    link->setText(QStringLiteral("www"));
    link->SetHotColor(QColor(4, 5, 6));
    QSignalSpy pressed(button, &TGradientButton::OnClick);
    QSignalSpy ticked(box, &TGradientButton::OnClick);
    QSignalSpy opened(link, &THotLabel::OnClick);
    const struct {
        QWidget* control;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        int pressed, ticked, opened;
    } cases[] = {
        { button, Qt::Key_Space, {}, 1, 0, 0 },
        { button, Qt::Key_Return, {}, 2, 0, 0 },
        { button, Qt::Key_Enter, Qt::KeypadModifier, 3, 0, 0 },
        { button, Qt::Key_Return, Qt::ControlModifier, 3, 0, 0 },
        { box, Qt::Key_Space, {}, 3, 1, 0 },
        { box, Qt::Key_Return, {}, 3, 1, 0 }, // Enter is the window's default button's
        { link, Qt::Key_Return, {}, 3, 1, 1 },
        { link, Qt::Key_Space, {}, 3, 1, 2 },
        { link, Qt::Key_A, {}, 3, 1, 2 },
    };
    for (const auto& c : cases) {
        QTest::keyClick(c.control, c.key, c.modifiers);
        EXPECT_EQ(pressed.count(), c.pressed) << c.control->metaObject()->className() << " " << c.key;
        EXPECT_EQ(ticked.count(), c.ticked) << c.control->metaObject()->className() << " " << c.key;
        EXPECT_EQ(opened.count(), c.opened) << c.control->metaObject()->className() << " " << c.key;
    }
    EXPECT_TRUE(box->Checked());
    EXPECT_EQ(link->focusPolicy(), Qt::TabFocus) << "a Tab stop, a click takes no focus";
}

TEST(KeyboardControls, FocusShowsOnButtonsAndLinks)
{
    QWidget window;
    auto* button = MakeNamed<TGradientButton>(&window, "button", QRect(0, 0, 75, 25));
    auto* link = MakeNamed<THotLabel>(&window, "link", QRect(0, 30, 75, 16));
    link->SetFocusable(true);
    link->setText(QStringLiteral("www"));
    link->SetHotColor(QColor(4, 5, 6));
    auto* other = MakeNamed<TGradientButton>(&window, "other", QRect(0, 50, 75, 25));
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    other->setFocus(Qt::TabFocusReason);
    const QImage unfocused = Render(*button);
    button->setFocus(Qt::TabFocusReason);
    EXPECT_NE(Render(*button), unfocused) << "the dotted focus rectangle";
    link->setFocus(Qt::TabFocusReason);
    EXPECT_TRUE(link->Hot()) << "a focused link looks as under the mouse";
    EXPECT_EQ(link->palette().color(QPalette::Window), QColor(4, 5, 6));
    Hover(*link);
    Unhover(*link);
    EXPECT_TRUE(link->Hot()) << "the mouse leaving does not take the focus look";
    other->setFocus(Qt::TabFocusReason);
    EXPECT_FALSE(link->Hot());
}

TEST(TMCheckBox, ClickFlipsThenFires)
{
    TMCheckBox box;
    box.SetSelectedColor(QColor(0, 0, 255));
    box.SetDotAreaColor(QColor(255, 255, 255));
    bool checkedAtClick = false;
    QObject::connect(&box, &TMCheckBox::OnClick, [&] { checkedAtClick = box.isChecked(); });
    EXPECT_EQ(Render(box).pixelColor(6, 8), QColor(255, 255, 255)); // dot of 6 at 3..8 in the 12 area
    QTest::mouseClick(&box, Qt::LeftButton);
    EXPECT_TRUE(checkedAtClick);
    EXPECT_EQ(Render(box).pixelColor(6, 8), QColor(0, 0, 255));
}

TEST(THotWinBitmap, HotFollowsMouseAndFocusAndEnterClicks)
{
    QWidget window;
    THotWinBitmap button(&window);
    window.show();
    QApplication::setActiveWindow(&window);
    button.clearFocus(); // the window gave it the focus
    button.SetColor(QColor(10, 10, 10));
    button.SetHotColor(QColor(20, 20, 20));
    button.SetSelectedColor(QColor(30, 30, 30));
    button.SetHotSelColor(QColor(40, 40, 40));
    button.SetBorder(vd::sbsNone);
    QSignalSpy clicks(&button, &THotWinBitmap::OnClick);
    EXPECT_EQ(Render(button).pixelColor(1, 1), QColor(10, 10, 10));
    Hover(button);
    EXPECT_TRUE(button.Moused());
    EXPECT_EQ(Render(button).pixelColor(1, 1), QColor(20, 20, 20));
    button.SetSelected(true);
    EXPECT_EQ(Render(button).pixelColor(1, 1), QColor(20, 20, 20)); // hot wins without Advanced
    button.SetAdvanced(true);
    EXPECT_EQ(Render(button).pixelColor(1, 1), QColor(40, 40, 40));
    Unhover(button);
    EXPECT_EQ(Render(button).pixelColor(1, 1), QColor(30, 30, 30));

    button.setFocus();
    EXPECT_TRUE(button.Moused());
    Unhover(button); // keeps hot while focused
    EXPECT_TRUE(button.Moused());
    QTest::keyClick(&button, Qt::Key_Return);
    QTest::keyClick(&button, Qt::Key_Space);
    EXPECT_EQ(clicks.count(), 2);

    button.clearFocus();
    button.SetHotTrackMethod(vd::hmMousePress);
    Hover(button);
    EXPECT_FALSE(button.Moused());
    QTest::mousePress(&button, Qt::LeftButton);
    EXPECT_TRUE(button.Moused());
    QTest::mouseRelease(&button, Qt::LeftButton);
    EXPECT_FALSE(button.Moused());
}

TEST(TAdvProgressBar, RangeCaptionAndFill)
{
    TAdvProgressBar bar;
    EXPECT_EQ(bar.size(), QSize(200, 20));
    bar.SetAutoCaption(true);
    EXPECT_EQ(bar.ShownCaption(), QStringLiteral("50%"));
    EXPECT_EQ(bar.FilledWidth(), 100);
    QImage image = Render(bar);
    EXPECT_EQ(image.pixelColor(1, 10), QColor(254, 0, 1)); // whole-width foreground gradient
    EXPECT_EQ(image.pixelColor(150, 10).blue(), 96); // background gradient, column 150 of 200
    bar.SetMax(-5); // below Min: the range becomes Min..Min + 1
    bar.SetPosition(7);
    EXPECT_EQ(bar.FilledWidth(), 200);
    EXPECT_EQ(bar.ShownCaption(), QStringLiteral("100%"));
    bar.SetMax(100);
    bar.SetPosition(0);
    bar.SetForegroundFillType(vd::btFlat);
    image = Render(bar);
    EXPECT_NE(image.pixelColor(1, 10), QColor(255, 0, 0)); // nothing filled at Min
}
