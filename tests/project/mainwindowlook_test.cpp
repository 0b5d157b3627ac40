// The main window's look and place: the size it opens at and where it comes back, readable
// disabled captions in the side panel under every skin the build makes, captions clear of
// the buttons' edges, the status bar, and where its photo picker opens.
#include "tests/project/mainwindowfixture.h"

#include "core/core.h"
#include "skin/drawrules.h"
#include "skin/skinner.h"
#include "tests/support/windowdriver.h"
#include "ui/gradientbutton.h"
#include "ui/mousedpanel.h"
#include "ui/statuslabel.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLineEdit>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class MainWindowLook : public ::testing::Test, public TMainWindowFixture {
protected:
    // A new main window as the program shows it at start-up.
    std::unique_ptr<Tfmain> Reopen()
    {
        auto next = std::make_unique<Tfmain>();
        next->ShowPlaced();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(next.get()));
        return next;
    }
};

TEST_F(MainWindowLook, OpensToSuitTheScreenThenWhereItWasLeft)
{
    window->close(); // the fixture's window: its place is forgotten, as on a first start
    f.config.windowwidth = f.config.windowheight = 0;
    const QRect available = window->screen()->availableGeometry();
    auto first = Reopen();
    const QSize share(qRound(available.width() * 0.8), qRound(available.height() * 0.8));
    EXPECT_EQ(first->size(), share.expandedTo(first->minimumSize()));
    EXPECT_TRUE(available.contains(first->geometry()) || first->size() == first->minimumSize());

    const QRect left(available.topLeft() + QPoint(7, 9), first->minimumSize() + QSize(10, 20));
    first->setGeometry(left);
    first->close();
    EXPECT_EQ(QRect(f.config.windowleft, f.config.windowtop, f.config.windowwidth, f.config.windowheight), left);
    EXPECT_FALSE(f.config.windowmaximized);
    ASSERT_TRUE(f.config.Save());
    f.config = TConfig();
    f.config.Load(window->font());

    auto second = Reopen();
    EXPECT_EQ(second->geometry(), left);
    EXPECT_FALSE(second->isMaximized());
    second->showMaximized();
    QCoreApplication::processEvents();
    second->close();
    EXPECT_TRUE(f.config.windowmaximized);
    EXPECT_EQ(f.config.windowwidth, left.width()); // the normal size, to come back to

    auto third = Reopen();
    EXPECT_TRUE(third->isMaximized());
    third->showNormal();
    QCoreApplication::processEvents();
    EXPECT_EQ(third->geometry(), left);
}

// The pixels of a rendered button: the face of each row (taken inside the right edge, which a
// left-aligned caption never reaches) and the caption's strokes against it.
struct TButtonShot {
    explicit TButtonShot(TGradientButton& button)
        : image(button.grab().toImage().convertToFormat(QImage::Format_RGB32))
    {
    }
    QColor Face(int y) const { return image.pixelColor(image.width() - 3, y); }
    // Pixels from column `from` to width - 3 of the rows inside the sunken edge that differ
    // from their face.
    template <class Visit> void Strokes(int from, Visit visit) const
    {
        for (int y = 2; y < image.height() - 2; ++y)
            for (int x = from; x < image.width() - 3; ++x)
                if (image.pixelColor(x, y) != Face(y))
                    visit(x, y, image.pixelColor(x, y));
    }
    QImage image;
};

TEST_F(MainWindowLook, DisabledSidePanelCaptionsReadUnderEverySkin)
{
    QStringList skins { QString() }; // the built-in scheme first
    for (const QString& name : QDir(QStringLiteral(VENDARO_SKIN_DIR)).entryList({ QStringLiteral("*.vdskin") }))
        skins << QStringLiteral(VENDARO_SKIN_DIR "/") + name;
    ASSERT_GE(skins.size(), 4) << "the build makes three skins";
    for (const QString& skin : skins) {
        TSkinner skinner;
        if (!skin.isEmpty())
            ASSERT_TRUE(skinner.LoadFromFile(skin)) << skin.toStdString();
        skinner.ApplyToForm(window.get());
        int disabled = 0;
        for (TGradientButton* button : window->MousedPanel3->findChildren<TGradientButton*>()) {
            if (!button->isVisible() || button->isEnabled())
                continue;
            ++disabled;
            // The button's own font, drawn without smoothing: every stroke pixel is the pen.
            QFont crisp = button->font();
            crisp.setStyleStrategy(QFont::NoAntialias);
            button->setFont(crisp);
            const TButtonShot shot(*button);
            const std::string what = (skin + " " + button->objectName()).toStdString();
            QColor pen;
            int top = shot.image.height(), bottom = -1, leftmost = shot.image.width();
            // The caption starts right of the glyph: outline, edge, 2 pixels, glyph, 2 pixels.
            const bool glyph = !button->Glyph().isNull();
            shot.Strokes(glyph ? 2 + 2 + button->Glyph().width() + 2 : 2, [&](int x, int y, const QColor& colour) {
                if (!pen.isValid())
                    pen = colour;
                EXPECT_EQ(colour, pen) << what << " at " << x << "," << y;
                top = std::min(top, y);
                bottom = std::max(bottom, y);
                leftmost = std::min(leftmost, x);
            });
            ASSERT_LE(top, bottom) << what << ": no caption drawn";
            // Readable on every row of the shaded face that the caption covers.
            for (int y = top; y <= bottom; ++y)
                EXPECT_GE(ContrastRatio(pen, shot.Face(y)), kReadableContrast) << what << " row " << y;
            if (!glyph)
                EXPECT_GE(leftmost, 2 + 4) << what << ": the caption touches the edge";
        }
        // An empty project disables the side panel but for adding photos (edit, crop and send
        // stay hidden until their windows attach).
        EXPECT_EQ(disabled, 6);
    }
}

TEST_F(MainWindowLook, StatusLinesFillTheBarInsideItsBevel)
{
    const TMousedPanel* bar = window->MousedPanel2;
    const int bevel = bar->BevelWidth();
    int top = bar->height(), bottom = -1;
    for (const TStatusLabel* label :
        { window->slphoto, window->slsize, window->slcount, window->slformat, window->slprice }) {
        top = std::min(top, label->geometry().top());
        bottom = std::max(bottom, label->geometry().bottom());
    }
    EXPECT_EQ(top, bevel);
    EXPECT_EQ(bottom, bar->height() - 1 - bevel);
    EXPECT_EQ(window->slphoto->geometry().bottom() + 1, window->slcount->geometry().top());
}

// The photo picker: the pictures folder first, then the folder photos were last taken from,
// also after a restart (the configuration written and read again).
TEST_F(MainWindowLook, PhotoPickerOpensWhereThePhotosWereTakenLast)
{
    QTemporaryDir home;
    const ScopedEnv homeEnv("HOME", home.path());
    const ScopedEnv configEnv("XDG_CONFIG_HOME", home.filePath(QStringLiteral(".config")));
    ASSERT_TRUE(QDir(home.path()).mkpath(QStringLiteral("Pictures")));
    const QString photo = f.WritePhoto(QStringLiteral("wakacje/IMG_1.jpg"), 40, 30);
    QStringList openedIn;
    const auto pickNext = [&](const QString& file) {
        OnNextModal([&openedIn, file](QWidget* modal) {
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            ASSERT_NE(dialog, nullptr);
            openedIn << QDir::cleanPath(dialog->directory().absolutePath());
            dialog->setDirectory(QFileInfo(file).absolutePath());
            dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(QFileInfo(file).fileName());
            QMetaObject::invokeMethod(dialog, "accept");
        });
    };
    pickNext(photo);
    window->aaddphotos->trigger();
    ASSERT_TRUE(f.config.Save());
    f.config.photofolder.clear();
    f.config.Load(window->font());
    pickNext(photo);
    window->aaddphotos->trigger();
    EXPECT_EQ(openedIn,
        QStringList({ QDir::cleanPath(home.filePath(QStringLiteral("Pictures"))), QFileInfo(photo).absolutePath() }));
    EXPECT_EQ(project.Count(), 2);
}

} // namespace
