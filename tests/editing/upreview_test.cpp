// The preview window: caption, zoom buttons, wheel steps, and no picture kept after closing.
#include "editing/imageview.h"
#include "editing/previewtext.h"
#include "editing/upreview.h"
#include "tests/support/windowdriver.h"
#include "ui/gradientbutton.h"

#include <QLocale>
#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>

namespace {

void Wheel(QWidget* view, int delta)
{
    QWheelEvent event(QPointF(10, 10), QPointF(10, 10), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
        Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(view, &event);
}

TEST(PreviewTextTest, CaptionCountsFourBytesPerPixel)
{
    QLocale::setDefault(QLocale::c());
    EXPECT_EQ(
        PreviewCaption(1.0, 1795, 1205), QStringLiteral("powiększenie: 100.0% rozdzielczość: 1795x1205 rozmiar: 8 Mb"));
    EXPECT_EQ(
        PreviewCaption(0.25, 100, 100), QStringLiteral("powiększenie: 25.0% rozdzielczość: 100x100 rozmiar: 39 Kb"));
    QLocale::setDefault(QLocale(QLocale::Polish, QLocale::Poland));
    EXPECT_EQ(
        PreviewCaption(1.234, 10, 10), QStringLiteral("powiększenie: 123,4% rozdzielczość: 10x10 rozmiar: 400 bytes"));
    QLocale::setDefault(QLocale::c());
}

TEST(PreviewTextTest, WheelStepsStopAboveZero)
{
    EXPECT_DOUBLE_EQ(WheelZoom(1.0, 1), 1.05);
    EXPECT_DOUBLE_EQ(WheelZoom(1.0, -3), 0.85);
    EXPECT_DOUBLE_EQ(WheelZoom(0.1, -5), kMinPreviewScale);
}

TEST(PreviewWindowTest, ZoomButtonsWheelAndCaption)
{
    QLocale::setDefault(QLocale::c());
    Tfpreview& window = fpreview();
    QImage picture(120, 80, QImage::Format_ARGB32);
    picture.fill(qRgb(200, 10, 10));
    QString shownCaption, fitCaption;
    double fitScale = 0, afterWheel = 0, afterHundred = 0;
    OnNextModal([&](QWidget*) {
        shownCaption = window.windowTitle();
        window.bfit->click();
        fitScale = window.view->Scale();
        fitCaption = window.windowTitle();
        Wheel(window.view->viewport(), -120); // toward the user
        Wheel(window.view->viewport(), -120);
        Wheel(window.view->viewport(), 120);
        afterWheel = window.view->Scale();
        window.b100->click();
        afterHundred = window.view->Scale();
        window.bclose->click();
    });
    window.ShowPreview(picture);
    EXPECT_EQ(shownCaption, QStringLiteral("powiększenie: 100.0% rozdzielczość: 120x80 rozmiar: 37 Kb"));
    EXPECT_GT(fitScale, 1.0) << "a small picture is enlarged";
    EXPECT_TRUE(fitCaption.startsWith(QStringLiteral("powiększenie: %1%").arg(fitScale * 100, 0, 'f', 1)));
    EXPECT_NEAR(afterWheel, fitScale + 0.05, 1e-9);
    EXPECT_DOUBLE_EQ(afterHundred, 1.0);
    EXPECT_TRUE(window.view->Picture().isNull()) << "nothing kept after closing";
    EXPECT_EQ(window.size(), QSize(651, 605));
}

TEST(PreviewWindowTest, KeyboardAlone)
{
    Tfpreview& window = fpreview();
    QImage picture(120, 80, QImage::Format_ARGB32);
    picture.fill(qRgb(200, 10, 10));
    for (const int key : { Qt::Key_Return, Qt::Key_Escape }) {
        const TKeyboardVisit visit = VisitByKeyboard(&window, [&] { window.ShowPreview(picture); }, { key });
        EXPECT_EQ(visit.focused, "bclose");
        EXPECT_TRUE(visit.tabs.contains("b100") && visit.tabs.contains("bfit"));
        EXPECT_TRUE(visit.closed) << key;
    }
}

} // namespace
