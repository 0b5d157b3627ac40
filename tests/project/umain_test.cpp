// The main window under the offscreen platform: layout and hidden actions, selection with
// the mouse and keyboard, status texts and enabling, hit test, scroll range, full screen,
// hints, painting, dropped files.
#include "tests/project/mainwindowfixture.h"

#include "project/mainstatus.h"
#include "project/projectevents.h"
#include "tests/support/testsupport.h"
#include "tests/support/windowdriver.h"
#include "ui/gradientbutton.h"
#include "ui/image.h"
#include "ui/mousedpanel.h"
#include "ui/statuslabel.h"
#include "ui/umydialog.h"

#include <QAction>
#include <QDropEvent>
#include <QFileInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QMimeData>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QUrl>

#include <gtest/gtest.h>

namespace {

class MainWindowTest : public ::testing::Test, public TMainWindowFixture {
protected:
    void Click(int index, Qt::KeyboardModifiers modifiers = {})
    {
        QTest::mouseClick(window->draw, Qt::LeftButton, modifiers, CellCentre(index));
    }
    void Key(int key, Qt::KeyboardModifiers modifiers = {}) { QTest::keyClick(window->draw, Qt::Key(key), modifiers); }
    QList<int> Selected() const
    {
        QList<int> list;
        for (int i = 0; i < project.Count(); ++i)
            if (project.Photo(i).selected)
                list << i;
        return list;
    }
};

TEST_F(MainWindowTest, LayoutAndActionsWithoutWindowsHidden)
{
    EXPECT_EQ(window->MousedPanel1->height(), 49);
    EXPECT_EQ(window->MousedPanel3->width(), 148);
    EXPECT_EQ(window->MousedPanel2->height(), 41);
    EXPECT_EQ(window->ScrollBox1->geometry().left(), 148);
    for (QAction* action :
        { window->asendorder, window->asettings, window->ahistory, window->aprovider, window->avirtual, window->atip,
            window->aabout, window->aeditphoto, window->acrop, window->asave, window->alog })
        EXPECT_FALSE(action->isVisible()) << action->objectName().toStdString();
    EXPECT_FALSE(window->findChild<TGradientButton*>(QStringLiteral("tp_settings"))->isVisible());
    EXPECT_FALSE(window->findChild<TGradientButton*>(QStringLiteral("lm_sendorder"))->isVisible());

    // Visible buttons lie one after the other, wherever hidden ones would have been.
    const auto* preview = window->findChild<TGradientButton*>(QStringLiteral("tp_preview"));
    const auto* fullscreen = window->findChild<TGradientButton*>(QStringLiteral("tp_fullscreen"));
    EXPECT_EQ(fullscreen->x() - preview->x(), 28);
    const auto* quantity = window->findChild<TGradientButton*>(QStringLiteral("lm_quantity"));
    EXPECT_EQ(quantity->size(), QSize(139, 25));
    EXPECT_EQ(quantity->ShownCaption(), QStringLiteral("Ilość odbitek ..."));

    int opened = 0;
    window->AttachWindow(TMainLink::History, [&] { return ++opened; });
    EXPECT_TRUE(window->ahistory->isVisible());
    EXPECT_TRUE(window->findChild<TGradientButton*>(QStringLiteral("tp_history"))->isVisible());
    window->ahistory->trigger();
    EXPECT_EQ(opened, 1);
}

TEST_F(MainWindowTest, SavingCopiesWorksButIsNeverOffered)
{
    AddPhotos(1);
    int opened = 0;
    window->AttachWindow(TMainLink::Save, [&] { return ++opened; });
    EXPECT_FALSE(window->asave->isVisible());
    window->asave->trigger();
    EXPECT_EQ(opened, 1);
}

TEST_F(MainWindowTest, ClickAndCtrlClickSelectWithFocus)
{
    AddPhotos(4);
    Click(1);
    EXPECT_EQ(Selected(), QList<int> { 1 });
    EXPECT_EQ(project.focus, 1);
    EXPECT_EQ(window->slphoto->Status(), QStringLiteral("IMG_1.JPG"));
    Click(3, Qt::ControlModifier);
    EXPECT_EQ(Selected(), (QList<int> { 1, 3 }));
    EXPECT_EQ(project.focus, 3);
    Click(2);
    EXPECT_EQ(Selected(), QList<int> { 2 });
    EXPECT_TRUE(window->aselnone->isEnabled());

    Click(2, Qt::ControlModifier); // the only selected photo
    EXPECT_TRUE(Selected().isEmpty());
    EXPECT_EQ(project.focus, 2);
    EXPECT_FALSE(window->aselnone->isEnabled());
    EXPECT_FALSE(window->adelete->isEnabled());
    EXPECT_TRUE(window->arename->isEnabled());
    EXPECT_TRUE(window->draw->hasFocus());
}

TEST_F(MainWindowTest, ClickOutsideCellsChangesNothing)
{
    AddPhotos(2);
    Click(0);
    window->slphoto->SetStatus(QStringLiteral("marker"));
    QTest::mouseClick(window->draw, Qt::LeftButton, {}, QPoint(2, 2));
    const int rightOfColumns = window->draw->Columns() * (f.config.cellWidth + f.config.thumbspace) + 1;
    if (rightOfColumns < window->draw->width())
        QTest::mouseClick(window->draw, Qt::LeftButton, {}, QPoint(rightOfColumns, 20));
    QTest::mouseClick(window->draw, Qt::LeftButton, {}, CellCentre(5)); // past the last photo
    EXPECT_EQ(Selected(), QList<int> { 0 });
    EXPECT_EQ(window->slphoto->Status(), QStringLiteral("marker")) << "the status bar is not refreshed";
    EXPECT_EQ(window->HitTest(2, 2), -1);
}

TEST_F(MainWindowTest, StatusTextsAndEnabling)
{
    window->UpdateStatus();
    EXPECT_EQ(window->slcount->Status(), QStringLiteral("0(0)"));
    EXPECT_EQ(window->slformat->Status(), QStringLiteral("Brak."));
    EXPECT_FALSE(window->aformat->isEnabled());
    EXPECT_FALSE(window->aselall->isEnabled());

    window->AttachWindow(TMainLink::SendOrder, [] { return 0; }); // a hidden action is also disabled
    AddPhotos(3, 600, 400);
    project.SetFormat(0, kFormat10x15);
    project.Photo(0).quantity = 2;
    Click(0);
    EXPECT_EQ(window->slcount->Status(), QStringLiteral("3(4)"));
    EXPECT_EQ(window->slsize->Status(), QStringLiteral("600 x 400 px, 5.1 x 3.4 cm"));
    EXPECT_EQ(window->slformat->Status(), QStringLiteral("10x15 - 0.50 zł"));
    EXPECT_EQ(window->slprice->Status(), QStringLiteral("1.00 zł (~ 1.00 zł)"));
    for (QAction* action : { window->asendorder, window->adelete, window->aformat, window->aselinv, window->arename,
             window->apreview, window->aquantity, window->areset, window->aselall, window->aselnone })
        EXPECT_TRUE(action->isEnabled()) << action->objectName().toStdString();
}

TEST_F(MainWindowTest, ProjectNoticesRemakePendingThumbnailsAndTheStatus)
{
    AddPhotos(2, 600, 400);
    Click(1);
    project.SetFormat(1, kFormat10x15);
    project.Photo(1).thumbPending = true;
    Q_EMIT ProjectEvents().ThumbnailsPending();
    EXPECT_FALSE(project.Photo(1).thumbPending);
    EXPECT_EQ(project.Photo(1).thumbnail.size(), QSize(140, 94));
    EXPECT_EQ(window->slformat->Status(), QStringLiteral("Brak.")) << "read again only on Changed";
    Q_EMIT ProjectEvents().Changed();
    EXPECT_EQ(window->slformat->Status(), QStringLiteral("10x15 - 0.50 zł"));
}

TEST_F(MainWindowTest, ScrollRangeFollowsColumnsAndTheBarShowsOnlyToScroll)
{
    QScrollBar* bar = window->ScrollBox1->verticalScrollBar();
    AddPhotos(7, 40, 30);
    QCoreApplication::processEvents();
    const int pitch = f.config.cellHeight + f.config.thumbspace;
    const int columns = window->draw->Columns();
    const int rows = (7 + columns - 1) / columns;
    ASSERT_GT(rows * pitch, window->ScrollBox1->height()) << "seven photos do not fit";
    EXPECT_EQ(window->draw->height(), rows * pitch);
    EXPECT_TRUE(bar->isVisible());
    EXPECT_EQ(window->draw->width(), window->ScrollBox1->viewport()->width());

    TDialogAnswers answers { { kButtonOk } };
    Select({ 2, 3, 4, 5, 6 });
    window->adelete->trigger();
    QCoreApplication::processEvents();
    EXPECT_FALSE(bar->isVisible()) << "two photos fit: nothing to scroll";
    EXPECT_EQ(window->draw->width(), window->ScrollBox1->width());
    EXPECT_EQ(window->draw->height(), window->ScrollBox1->viewport()->height());
}

TEST_F(MainWindowTest, AtItsMinimumSizeTheBarsKeepApart)
{
    for (const TMainLink link : { TMainLink::EditPhoto, TMainLink::CropPhoto, TMainLink::SendOrder })
        window->AttachWindow(link, [] { return 0; });
    AddPhotos(1, 2000, 1500);
    project.SetFormat(0, kFormat30x45);
    project.Photo(0).quantity = 50; // 750.00 zł
    project.Photo(0).name = f.PhotoPath(QStringLiteral("IMG_20240101_120000.jpg"));
    Click(0);
    window->resize(1, 1);
    QCoreApplication::processEvents();
    ASSERT_EQ(window->size(), window->minimumSize());

    QList<QRect> labels;
    for (const TStatusLabel* label :
        { window->slphoto, window->slsize, window->slcount, window->slformat, window->slprice }) {
        const int needed = QFontMetrics(label->CaptionFont()).horizontalAdvance(label->Caption()) + label->StatusSpace()
            + QFontMetrics(label->StatusFont()).horizontalAdvance(label->Status());
        EXPECT_LE(needed, label->width()) << label->Status().toStdString();
        for (const QRect& other : labels)
            EXPECT_FALSE(other.intersects(label->geometry())) << label->objectName().toStdString();
        labels << label->geometry();
    }
    for (const auto* button : window->MousedPanel3->findChildren<TGradientButton*>()) {
        ASSERT_TRUE(button->isVisible()) << button->objectName().toStdString();
        EXPECT_LE(button->geometry().bottom(), window->MousedPanel3->height()) << button->objectName().toStdString();
    }
    for (const auto* button : window->MousedPanel1->findChildren<TGradientButton*>())
        EXPECT_TRUE(!button->isVisible() || button->geometry().right() <= window->MousedPanel1->width())
            << button->objectName().toStdString();
    EXPECT_GE(window->draw->width(), f.config.cellWidth + 2 * f.config.thumbspace);
}

TEST_F(MainWindowTest, ShiftClickSelectsTheRunFromTheFocusedPhoto)
{
    AddPhotos(6, 40, 30);
    Click(1);
    Click(4, Qt::ShiftModifier);
    EXPECT_EQ(Selected(), (QList<int> { 1, 2, 3, 4 }));
    EXPECT_EQ(project.focus, 4);
    Click(0, Qt::ShiftModifier);
    EXPECT_EQ(Selected(), (QList<int> { 0, 1 })) << "from the photo the run started at";
    EXPECT_TRUE(window->adelete->isEnabled());

    Focus(3); // the focus moved elsewhere: the run starts there
    Click(5, Qt::ShiftModifier);
    EXPECT_EQ(Selected(), (QList<int> { 3, 4, 5 }));
    window->draw->setFocus();
    Key(Qt::Key_Left, Qt::ShiftModifier);
    EXPECT_EQ(Selected(), (QList<int> { 3, 4 })) << "Shift+arrows go on from the same photo";
}

TEST_F(MainWindowTest, DoubleClickOnAPhotoOpensTheColourWindow)
{
    int opened = 0;
    window->AttachWindow(TMainLink::EditPhoto, [&] {
        ++opened;
        EXPECT_EQ(project.focus, 2);
        return 0;
    });
    AddPhotos(3, 40, 30);
    // As the window system sends it: a click, then the second press as a double click.
    const auto doubleClick = [&](QPoint at) {
        QTest::mouseClick(window->draw, Qt::LeftButton, {}, at);
        QTest::mouseDClick(window->draw, Qt::LeftButton, {}, at);
        QTest::mouseRelease(window->draw, Qt::LeftButton, {}, at);
    };
    doubleClick(CellCentre(2));
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(Selected(), QList<int> { 2 });
    doubleClick(QPoint(2, 2));
    EXPECT_EQ(opened, 1) << "not between the cells";
}

TEST_F(MainWindowTest, CaptionsThatDoNotFitEndInAnEllipsis)
{
    f.config.thumbresolution = f.config.thumbsize = f.config.thumbprice = false;
    f.config.thumbname = true;
    const QString longName = QStringLiteral("wakacje_nad_morzem_dzien_pierwszy_0001.jpg");
    ASSERT_TRUE(project.AddPhoto(f.WritePhoto(longName, 40, 30)));
    ASSERT_TRUE(project.AddPhoto(f.WritePhoto(QStringLiteral("a.jpg"), 40, 30)));
    const QFontMetrics metrics = window->draw->fontMetrics();
    ASSERT_GT(metrics.horizontalAdvance(longName), f.config.cellWidth - 4);
    ASSERT_EQ(window->draw->ShownTexts(0).size(), 1);
    const QString shown = window->draw->ShownTexts(0).first();
    EXPECT_TRUE(shown.endsWith(QChar(0x2026))) << shown.toStdString();
    EXPECT_TRUE(longName.startsWith(shown.chopped(1))) << "the name's beginning is kept";
    EXPECT_LE(metrics.horizontalAdvance(shown), f.config.cellWidth - 4);
    EXPECT_EQ(window->draw->ShownTexts(1), QStringList { QStringLiteral("a.jpg") });
}

TEST_F(MainWindowTest, KeyboardMovesFocusAndSelection)
{
    AddPhotos(5, 40, 30);
    window->draw->setFocus();
    Key(Qt::Key_Right);
    EXPECT_EQ(project.focus, 0) << "from no focus to the first photo";
    Key(Qt::Key_Right);
    EXPECT_EQ(project.focus, 1);
    EXPECT_EQ(Selected(), QList<int> { 1 });
    Key(Qt::Key_Right, Qt::ShiftModifier);
    Key(Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(Selected(), (QList<int> { 1, 2, 3 }));
    Key(Qt::Key_Space);
    EXPECT_EQ(Selected(), (QList<int> { 1, 2 }));
    Key(Qt::Key_End);
    EXPECT_EQ(project.focus, 4);
    EXPECT_EQ(window->slphoto->Status(), QStringLiteral("IMG_4.JPG"));

    TDialogAnswers answers { { kButtonOk } };
    Key(Qt::Key_Delete);
    EXPECT_EQ(project.Count(), 4);
    EXPECT_EQ(answers.Shown().size(), 1);
}

TEST_F(MainWindowTest, TabReachesTheBarsWhoseButtonsLeaveTheFocusOnTheGrid)
{
    AddPhotos(2, 40, 30);
    EXPECT_EQ(window->focusWidget(), window->draw) << "the grid has the focus when the window opens";
    QTest::mouseClick(window->findChild<QWidget*>(QStringLiteral("lm_selall")), Qt::LeftButton);
    EXPECT_EQ(Selected(), (QList<int> { 0, 1 }));
    EXPECT_EQ(window->focusWidget(), window->draw) << "a click on a button";

    const QStringList tabs = TabWalk(window.get());
    const qsizetype add = tabs.indexOf(QStringLiteral("lm_addphotos"));
    ASSERT_GE(add, 0) << tabs.join(u' ').toStdString();
    EXPECT_GT(add, tabs.indexOf(QStringLiteral("tp_newproject"))) << "the top bar comes first";
    EXPECT_EQ(tabs.mid(add, 3), (QStringList { "lm_addphotos", "lm_selinv", "lm_selnone" })) << "all selected already";
    // The buttons after it wait for their windows, which this fixture does not attach.
    EXPECT_EQ(tabs.last(), QStringLiteral("lm_format")) << "then back to the grid";

    const QString photo = f.WritePhoto(QStringLiteral("z klawiatury.jpg"), 40, 30);
    while (window->focusWidget()->objectName() != QLatin1String("lm_addphotos"))
        PressKey(window.get(), Qt::Key_Tab);
    AnswerNextFileDialog({ photo });
    PressKey(window.get(), Qt::Key_Return);
    EXPECT_EQ(project.Count(), 3) << "Enter on the button added the photo";
}

TEST_F(MainWindowTest, FullScreenAndBack)
{
    const QRect before = window->geometry();
    window->afullscreen->trigger();
    EXPECT_TRUE(window->isFullScreen());
    EXPECT_TRUE(window->findChild<TGradientButton*>(QStringLiteral("tp_fullscreen"))->Selected());
    EXPECT_TRUE(window->afullscreen->isChecked());
    window->afullscreen->trigger();
    EXPECT_FALSE(window->isFullScreen());
    EXPECT_FALSE(window->findChild<TGradientButton*>(QStringLiteral("tp_fullscreen"))->Selected());
    EXPECT_EQ(window->geometry(), before);
}

TEST_F(MainWindowTest, TopBarHints)
{
    auto* reset = window->findChild<TGradientButton*>(QStringLiteral("tp_newproject"));
    Q_EMIT reset->OnMouseEnter();
    EXPECT_EQ(window->lhint->text(), QStringLiteral("Nowy projekt"));
    Q_EMIT reset->OnMouseLeave();
    EXPECT_TRUE(window->lhint->text().isEmpty());
}

TEST_F(MainWindowTest, PaintsSplashOnEmptyProjectAndCellsOtherwise)
{
    QImage splash(40, 30, QImage::Format_ARGB32);
    splash.fill(qRgb(250, 0, 0));
    window->isplash->SetPicture(splash);
    QImage shot = window->draw->grab().toImage();
    const QRect visible(0, window->ScrollBox1->verticalScrollBar()->value(), window->draw->width(),
        window->ScrollBox1->viewport()->height());
    EXPECT_EQ(shot.pixelColor(visible.center()), QColor(250, 0, 0));

    AddPhotos(2, 40, 30);
    Click(1);
    shot = window->draw->grab().toImage();
    const QRect cell = window->draw->Grid().CellRect(1, window->draw->Columns());
    EXPECT_EQ(shot.pixelColor(cell.topLeft() + QPoint(2, f.config.thumbborder + 1)),
        f.skinner.GetColor(QStringLiteral("selected")));
    EXPECT_EQ(shot.pixelColor(window->draw->Grid().CellRect(0, window->draw->Columns()).topLeft() + QPoint(2, 6)),
        f.skinner.GetColor(QStringLiteral("color")));
}

TEST_F(MainWindowTest, DroppedFolderAddsItsPhotos)
{
    const QString first = f.WritePhoto(QStringLiteral("drop/b2.jpg"), 50, 40);
    f.WritePhoto(QStringLiteral("drop/b10.jpg"), 50, 40);
    ASSERT_TRUE(WriteFileBytes(f.PhotoPath(QStringLiteral("drop/readme.txt")), "x"));
    QMimeData data;
    data.setUrls({ QUrl::fromLocalFile(QFileInfo(first).absolutePath()) });
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, {});
    QCoreApplication::sendEvent(window->draw, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, {});
    QCoreApplication::sendEvent(window->draw, &drop);
    ASSERT_EQ(project.Count(), 2);
    EXPECT_EQ(QFileInfo(project.Photo(0).name).fileName(), QStringLiteral("b2.jpg"));
    EXPECT_EQ(QFileInfo(project.Photo(1).name).fileName(), QStringLiteral("b10.jpg"));
    EXPECT_EQ(window->slcount->Status(), QStringLiteral("2(2)"));
}

} // namespace
