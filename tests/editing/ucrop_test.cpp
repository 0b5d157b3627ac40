// The crop window driven with the mouse: the frame's zones and cursors, corner drags and moves
// that stay on the picture, turns, the double press, the quality warning and "format".
#include "editing/paintbox.h"
#include "editing/ucrop.h"
#include "editing/uformat.h"
#include "lab/formats.h"
#include "tests/project/projectfixture.h"
#include "tests/support/windowdriver.h"
#include "ui/gradientbutton.h"
#include "ui/hotlabel.h"
#include "ui/pagelistbox.h"
#include "ui/pictures.h"
#include "ui/umydialog.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTest>

#include <gtest/gtest.h>

#include <cstring>
#include <functional>

static void PrintTo(const TRect& r, std::ostream* os)
{
    *os << "(" << r.Left << ", " << r.Top << ", " << r.Right << ", " << r.Bottom << ")";
}

namespace {

bool SameCrop(const CropFractions& a, const CropFractions& b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

TRect Bounds(const QWidget* widget)
{
    const QRect g = widget->geometry();
    return { g.left(), g.top(), g.left() + g.width(), g.top() + g.height() };
}

class CropWindowTest : public ::testing::Test {
protected:
    TProjectFixture f;
    TVDImage& project = *f.project;
    Tfcrop& window = fcrop();
    std::int64_t now = 1000;

    void SetUp() override
    {
        window.SetClock([this] { return now; });
    }

    int AddPhoto(int width, int height, int format)
    {
        EXPECT_TRUE(project.AddPhoto(f.WritePhoto(QStringLiteral("p%1.jpg").arg(project.Count()), width, height)));
        const int index = project.Count() - 1;
        if (format != -1)
            project.SetFormat(index, format);
        return index;
    }

    // Opens the photo, runs steps in the shown window and closes it with "ANULUJ" unless the
    // steps closed it. True when the window was still open after the steps.
    bool Crop(int index, const std::function<void()>& steps)
    {
        bool open = false;
        OnNextModal([&](QWidget*) {
            now += 1000; // well after the window was shown
            steps();
            open = window.isVisible();
            if (open)
                QTest::mouseClick(window.bcancel, Qt::LeftButton);
        });
        window.CropPhoto(index);
        return open;
    }

    // The mouse on the frame, at a point of the screen.
    QPoint OnFrame(const QPoint& global) const { return window.shapewhite->mapFromGlobal(global); }
    QPoint FrameCorner(TFrameZone zone) const
    {
        const QRect r = window.shapewhite->rect();
        const QPoint local(zone == kTopLeft || zone == kBottomLeft ? 2 : r.width() - 3,
            zone == kTopLeft || zone == kTopRight ? 2 : r.height() - 3);
        return window.shapewhite->mapToGlobal(local);
    }
    void Press(const QPoint& global)
    {
        QTest::mousePress(window.shapewhite, Qt::LeftButton, {}, OnFrame(global));
        now += 300;
    }
    void MoveTo(const QPoint& global) { QTest::mouseMove(window.shapewhite, OnFrame(global)); }
    void Release(const QPoint& global) { QTest::mouseRelease(window.shapewhite, Qt::LeftButton, {}, OnFrame(global)); }
    void Drag(const QPoint& from, const QPoint& to)
    {
        Press(from);
        MoveTo(to);
        Release(to);
    }
    // Hovering without a button.
    Qt::CursorShape CursorAt(const QPoint& local)
    {
        QMouseEvent move(
            QEvent::MouseMove, local, window.shapewhite->mapToGlobal(local), Qt::NoButton, Qt::NoButton, {});
        QApplication::sendEvent(window.shapewhite, &move);
        return window.shapewhite->cursor().shape();
    }
    // The automatic crop of a photo that is not turned.
    CropFractions AutoCropOf(int index, int format) const
    {
        const TRect bounds { 0, 0, project.Photo(index).info.width, project.Photo(index).info.height };
        return AutoCropFractions(format == -1 ? bounds : project.OutputFormatRect(format), bounds);
    }
};

TEST_F(CropWindowTest, OpensWithTheFormatsAutomaticCropOrTheWholePicture)
{
    const int framed = AddPhoto(300, 300, kFormat10x15);
    const int plain = AddPhoto(300, 200, -1);
    Crop(framed, [&] {
        EXPECT_EQ(window.windowTitle(), QStringLiteral("Kadruj"));
        EXPECT_TRUE(SameCrop(window.Crop(), AutoCropOf(framed, kFormat10x15)));
        const TRect frame = window.FrameOnScreen();
        EXPECT_EQ(Bounds(window.shapewhite), frame);
        EXPECT_EQ(
            Bounds(window.shapeblack), (TRect { frame.Left - 2, frame.Top - 2, frame.Right + 2, frame.Bottom + 2 }));
        EXPECT_EQ(frame.Left, window.ImageOnScreen().Left);
        EXPECT_EQ(frame.Right, window.ImageOnScreen().Right);
        EXPECT_GT(frame.Top, window.ImageOnScreen().Top);
    });
    Crop(plain, [&] { EXPECT_EQ(window.FrameOnScreen(), window.ImageOnScreen()); });
    EXPECT_EQ(project.GetCorrections(framed).crop.left, kNoCrop) << "ANULUJ stores nothing";
}

TEST_F(CropWindowTest, CornersResizeAndTheRestMovesWithTheirCursors)
{
    const int index = AddPhoto(300, 200, -1);
    LoadCursors();
    Crop(index, [&] {
        const int w = window.shapewhite->width(), h = window.shapewhite->height();
        EXPECT_EQ(CursorAt({ 2, 2 }), Qt::SizeFDiagCursor);
        EXPECT_EQ(CursorAt({ w - 3, h - 3 }), Qt::SizeFDiagCursor);
        EXPECT_EQ(CursorAt({ w - 3, 2 }), Qt::SizeBDiagCursor);
        EXPECT_EQ(CursorAt({ 2, h - 3 }), Qt::SizeBDiagCursor);
        EXPECT_EQ(CursorAt({ w / 2, 2 }), CursorForSlot(5).shape()) << "the middle of a side moves the frame";
        EXPECT_EQ(CursorAt({ w / 2, h / 2 }), CursorForSlot(5).shape());
    });
}

TEST_F(CropWindowTest, ACornerDraggedBeyondThePictureStopsAtTheLastSizeThatFitted)
{
    const int index = AddPhoto(300, 200, -1);
    const bool open = Crop(index, [&] {
        const TRect image = window.ImageOnScreen();
        Drag(FrameCorner(kBottomRight), FrameCorner(kBottomRight) - QPoint(200, 0)); // smaller first
        const TRect start = Bounds(window.shapewhite);
        ASSERT_LT(start.Right, image.Right - 100);

        const QPoint corner = FrameCorner(kBottomRight);
        Press(corner);
        TRect last = start;
        for (int step = 1; step <= 40; ++step) {
            MoveTo(corner + QPoint(10 * step, 0));
            const TRect frame = Bounds(window.shapewhite);
            EXPECT_LE(frame.Right, image.Right);
            EXPECT_LE(frame.Bottom, image.Bottom);
            EXPECT_EQ(frame.Left, start.Left);
            EXPECT_EQ(frame.Top, start.Top);
            EXPECT_GE(frame.Width(), last.Width());
            last = frame;
        }
        EXPECT_LT(image.Right - last.Right, 10) << "it grew as long as it fitted";
        EXPECT_NEAR(double(last.Width()) / last.Height(), double(start.Width()) / start.Height(), 0.02);
        Release(corner + QPoint(400, 0));
        EXPECT_EQ(window.FrameOnScreen().Right, last.Right);
        QTest::mouseClick(window.bok, Qt::LeftButton);
    });
    EXPECT_FALSE(open);
    const CropFractions stored = project.GetCorrections(index).crop;
    EXPECT_NEAR(stored.right, 1.0, 0.05);
    EXPECT_LE(stored.right, 1.0f);
    EXPECT_LT(stored.bottom, 1.0f);
}

TEST_F(CropWindowTest, AMovedFrameStaysOnThePicture)
{
    const int index = AddPhoto(300, 200, -1);
    Crop(index, [&] {
        Drag(FrameCorner(kTopLeft), FrameCorner(kTopLeft) + QPoint(150, 0));
        const TRect smaller = Bounds(window.shapewhite);
        const QPoint middle = window.shapewhite->mapToGlobal(window.shapewhite->rect().center());
        Press(middle);
        MoveTo(middle - QPoint(1000, 1000));
        const TRect image = window.ImageOnScreen();
        EXPECT_EQ(Bounds(window.shapewhite),
            (TRect { image.Left, image.Top, image.Left + smaller.Width(), image.Top + smaller.Height() }));
        MoveTo(middle + QPoint(1000, 1000));
        EXPECT_EQ(Bounds(window.shapewhite).Right, image.Right);
        EXPECT_EQ(Bounds(window.shapewhite).Bottom, image.Bottom);
        MoveTo(middle - QPoint(5000, 0));
        Release(middle - QPoint(5000, 0));
        EXPECT_EQ(window.Crop().left, 0.0f);
        EXPECT_EQ(window.Crop().bottom, 1.0f);
    });
}

TEST_F(CropWindowTest, FourRightTurnsComeBackAndEveryTurnTakesTheAutomaticCrop)
{
    const int index = AddPhoto(300, 200, kFormat10x15);
    Corrections record = project.GetCorrections(index);
    record.crop = { 0.1f, 0.1f, 0.5f, 0.5f, 0.6f, 0.6f };
    project.SetCorrections(index, record);
    Crop(index, [&] {
        for (int turn = 1; turn <= 4; ++turn) {
            QTest::mouseClick(window.brotright, Qt::LeftButton);
            EXPECT_EQ(window.Rotation(), turn % 4);
            const TRect turned = turn % 2 ? TRect { 0, 0, 200, 300 } : TRect { 0, 0, 300, 200 };
            EXPECT_TRUE(SameCrop(window.Crop(), AutoCropFractions(project.OutputFormatRect(kFormat10x15), turned)))
                << turn;
            EXPECT_EQ(Bounds(window.shapewhite), window.FrameOnScreen());
        }
        QTest::mouseClick(window.brotleft, Qt::LeftButton);
        EXPECT_EQ(window.Rotation(), 3);
        QTest::mouseClick(window.bok, Qt::LeftButton);
    });
    EXPECT_EQ(project.GetCorrections(index).rotation, 3);
}

TEST_F(CropWindowTest, ASecondPressWithin200MsAccepts)
{
    const int index = AddPhoto(300, 200, kFormat10x15);
    const struct {
        int gap;
        bool accepted;
    } cases[] = { { 150, true }, { 250, false } };
    for (const auto& c : cases) {
        Corrections unturned;
        InitCorrections(unturned);
        project.SetCorrections(index, unturned);
        const bool open = Crop(index, [&] {
            QTest::mouseClick(window.brotright, Qt::LeftButton);
            const QPoint middle = window.shapewhite->rect().center();
            QTest::mouseClick(window.shapewhite, Qt::LeftButton, {}, middle);
            now += c.gap;
            QTest::mouseClick(window.shapewhite, Qt::LeftButton, {}, middle);
        });
        EXPECT_EQ(open, !c.accepted) << c.gap;
        EXPECT_EQ(project.GetCorrections(index).rotation, c.accepted ? 1 : 0) << c.gap;
    }
}

TEST_F(CropWindowTest, QualityWarningFollowsTheCrop)
{
    // 2000 pixels across cover the 1795 of 10x15 at 300 dpi; a much smaller part does not.
    const int index = AddPhoto(2000, 1334, kFormat10x15);
    TDialogAnswers answers { { kButtonOk } };
    Crop(index, [&] {
        EXPECT_FALSE(window.lgranularity->isVisible());
        Drag(FrameCorner(kTopLeft), FrameCorner(kTopLeft) + QPoint(250, 0));
        EXPECT_TRUE(window.lgranularity->isVisible());
        EXPECT_EQ(window.lgranularity->text(), QStringLiteral("JAKOŚĆ !"));
        EXPECT_EQ(window.lgranularity->cursor().shape(), Qt::PointingHandCursor);
        QTest::mouseClick(window.lgranularity, Qt::LeftButton);
        Drag(FrameCorner(kTopLeft), FrameCorner(kTopLeft) - QPoint(250, 0));
        EXPECT_FALSE(window.lgranularity->isVisible());
    });
    ASSERT_EQ(answers.Shown().size(), 1);
    EXPECT_EQ(answers.Shown()[0].text,
        QStringLiteral("Jakość zdjęcia, lub obecne kadrowanie sprawia, że aby wygenerować zdjęcie musi ono zostać "
                       "rozciągnięte. Taki proces może utworzyć \"ziarnistość\" na zdjęciu, w rezultacie "
                       "pogarszając jego jakość."));
}

TEST_F(CropWindowTest, AFormatChosenHereStaysAfterCancel)
{
    const int index = AddPhoto(200, 300, -1);
    f.engine.forceformat = true;
    const QSize thumbnailBefore = project.Photo(index).thumbnail.size();
    Crop(index, [&] {
        OnNextModal([&](QWidget*) {
            fformat().lbformat->SetItemIndex(0);
            fformat().bokClick();
        });
        QTest::mouseClick(window.bformat, Qt::LeftButton);
        EXPECT_EQ(window.Rotation(), 1) << "a portrait photo lies down for the landscape format";
        EXPECT_TRUE(SameCrop(window.Crop(), project.GetCorrections(index).crop));
    });
    EXPECT_EQ(project.Photo(index).formatId, kFormat10x15);
    const Corrections stored = project.GetCorrections(index);
    EXPECT_EQ(stored.rotation, 1);
    EXPECT_TRUE(SameCrop(stored.crop, AutoCropFractions(project.OutputFormatRect(kFormat10x15), { 0, 0, 300, 200 })));
    EXPECT_EQ(thumbnailBefore, QSize(93, 140));
    EXPECT_EQ(project.Photo(index).thumbnail.size(), QSize(140, 94)) << "the thumbnail shows the new format";
}

TEST_F(CropWindowTest, AcceptedOrCancelledFromTheKeyboard)
{
    // A 300x300 photo on 10x15 leaves the frame room to move up and down.
    const int index = AddPhoto(300, 300, kFormat10x15);
    for (const bool accept : { false, true }) {
        QString opened;
        QStringList tabs;
        CropFractions moved {};
        const bool open = Crop(index, [&] {
            opened = window.focusWidget()->objectName();
            tabs = TabWalk(&window);
            PressKey(&window, Qt::Key_Down); // the button lets the arrows go by to the frame
            EXPECT_EQ(window.focusWidget(), window.brotleft);
            moved = window.Crop();
            if (accept)
                window.bok->setFocus(Qt::TabFocusReason);
            PressKey(&window, accept ? Qt::Key_Return : Qt::Key_Escape);
        });
        EXPECT_FALSE(open) << accept;
        EXPECT_EQ(opened, "brotleft");
        // Then the picture's quality warning, where it shows.
        EXPECT_EQ(tabs.mid(0, 5), (QStringList { "brotright", "bautocrop", "bformat", "bok", "bcancel" }));
        EXPECT_EQ(SameCrop(project.GetCorrections(index).crop, moved), accept);
    }
}

TEST_F(CropWindowTest, ArrowKeysMoveTheFrameAndKeepItOnThePicture)
{
    const int index = AddPhoto(300, 300, kFormat10x15);
    Crop(index, [&] {
        const auto inPixels = [&] { return FractionsToRect(window.Crop(), 300, 300); };
        const TRect start = inPixels();
        const auto down = [&start](int dy) {
            return TRect { start.Left, start.Top + dy, start.Right, start.Bottom + dy };
        };
        ASSERT_GT(start.Top, 10);
        PressKey(&window, Qt::Key_Down);
        EXPECT_EQ(inPixels(), down(1));
        PressKey(&window, Qt::Key_Up, Qt::ShiftModifier);
        EXPECT_EQ(inPixels(), down(-9));
        EXPECT_EQ(Bounds(window.shapewhite), window.FrameOnScreen()) << "the frame follows the crop";
        PressKey(&window, Qt::Key_Left, Qt::ShiftModifier);
        EXPECT_EQ(inPixels(), down(-9)) << "the frame already spans the width";
        for (int i = 0; i < 40; ++i)
            PressKey(&window, Qt::Key_Down, Qt::ShiftModifier);
        EXPECT_EQ(inPixels(), (TRect { 0, 300 - start.Height(), 300, 300 })) << "stopped at the bottom, size kept";
        EXPECT_EQ(window.FrameOnScreen().Bottom, window.ImageOnScreen().Bottom);
    });
}

} // namespace
