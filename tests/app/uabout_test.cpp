#include "app/uabout.h"

#include "core/coreobjects.h"
#include "lab/vdengine.h"
#include "platform/appdir.h"
#include "platform/process.h"
#include "ui/gradientbutton.h"
#include "ui/hotlabel.h"
#include "ui/image.h"
#include "ui/pictures.h"

#include "tests/support/urlcatcher.h"
#include "tests/support/windowdriver.h"
#include <QLabel>
#include <QTimer>
#include <QUrl>

#include <gtest/gtest.h>

namespace {

TEST(Tfabout, ShowsTheLabAndOpensItsLinks)
{
    TEngine engine;
    engine.progname = "Fotolab Test";
    engine.name = "Fotolab";
    engine.person = "Anna Nowak";
    engine.city = QStringLiteral("90-001 Łódź");
    engine.email = "biuro@fotolab.example";
    engine.www = "www.fotolab.example";
    Core().engine = &engine;
    QImage splash(500, 350, QImage::Format_RGB32);
    splash.fill(Qt::blue);
    SetSplashPicture(splash);

    TUrlCatcher catcher;

    Tfabout about;
    QTimer::singleShot(0, [&] {
        const QString version = VersionString(ExecutablePath(), QString());
        EXPECT_EQ(about.ltitle->text(), "Fotolab Test wer " + version);
        EXPECT_EQ(about.ltitlevd->text(), "Vendaro wer " + version);
        EXPECT_EQ(about.lperson->text(), "Osoba kontaktowa: Anna Nowak");
        EXPECT_EQ(about.lcity->text(), QStringLiteral("90-001 Łódź"));
        EXPECT_EQ(about.ilogo->Picture().width(), 200); // fitted with its aspect kept
        EXPECT_TRUE(about.mpprog->isVisible());
        EXPECT_FALSE(about.mptech->isVisible());
        about.btechClick();
        EXPECT_TRUE(about.mptech->isVisible());
        EXPECT_FALSE(about.mpprog->isVisible());
        const bool firstShown = about.iabout1->isVisible();
        about.Timer1Timer();
        EXPECT_NE(about.iabout1->isVisible(), firstShown);
        EXPECT_NE(about.iabout2->isVisible(), !firstShown);
        Q_EMIT about.hlemail->OnClick();
        Q_EMIT about.hlwww->OnClick();
        about.accept();
    });
    about.exec();
    EXPECT_FALSE(about.Timer1->isActive());
    ASSERT_EQ(catcher.urls.size(), 2);
    EXPECT_EQ(catcher.urls[0], QUrl("mailto:biuro@fotolab.example"));
    EXPECT_EQ(catcher.urls[1], QUrl("http://www.fotolab.example"));
    Core().engine = nullptr;
}

TEST(Tfabout, KeyboardAlone)
{
    TEngine engine;
    engine.email = "biuro@fotolab.example";
    engine.www = "www.fotolab.example";
    Core().engine = &engine;
    TUrlCatcher catcher;
    Tfabout about;
    bool techShown = false;
    QStringList tabs;
    OnNextModal([&](QWidget*) {
        EXPECT_EQ(about.focusWidget(), about.bclose);
        tabs = TabWalk(&about);
        PressKey(&about, Qt::Key_Tab); // the lab's e-mail
        PressKey(&about, Qt::Key_Return);
        PressKey(&about, Qt::Key_Backtab);
        PressKey(&about, Qt::Key_Backtab); // "technologia/prawa autorskie ..."
        PressKey(&about, Qt::Key_Space);
        techShown = about.mptech->isVisible();
        PressKey(&about, Qt::Key_Escape);
    });
    about.exec();
    EXPECT_EQ(tabs, (QStringList { "hlemail", "hlwww", "bprog", "btech" }));
    ASSERT_EQ(catcher.urls.size(), 1);
    EXPECT_EQ(catcher.urls[0], QUrl("mailto:biuro@fotolab.example"));
    EXPECT_TRUE(techShown);
    EXPECT_FALSE(about.isVisible());
    Core().engine = nullptr;
}

} // namespace
