#include "app/utip.h"

#include "app/tipfile.h"
#include "core/core.h"
#include "core/coreobjects.h"
#include "platform/cp1250.h"
#include "platform/inifile.h"
#include "tests/support/testsupport.h"
#include "tests/support/windowdriver.h"
#include "ui/gradientbutton.h"
#include "ui/nicecheckbox.h"

#include <QLabel>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

// tips.ini as the lab ships it: Windows-1250.
QByteArray Tips(int count, int pos)
{
    return ToCp1250(QStringLiteral("[tips]\r\ncount=%1\r\npos=%2\r\ntip1=Zażółć gęślą jaźń\r\ntip2=Źródło "
                                   "ŚWIATŁA\r\ntip3=Łódź, Ńą\r\n")
                        .arg(count)
                        .arg(pos));
}

TEST(TipFile, StepsWrapRoundAndAreWrittenBack)
{
    ScopedAppDir app;
    const QString path = app.Path("tips.ini");
    struct Case {
        int count, pos, step;
        const char* tip;
        int newPos;
    };
    const Case cases[] = {
        { 3, 3, +1, "Zażółć gęślą jaźń", 1 },
        { 3, 0, +1, "Zażółć gęślą jaźń", 1 },
        { 3, 1, -1, "Łódź, Ńą", 3 },
        { 3, 1, +1, "Źródło ŚWIATŁA", 2 },
        { 5, 4, +1, "Błąd !", 5 },
    };
    for (const Case& c : cases) {
        WriteFileBytes(path, Tips(c.count, c.pos));
        EXPECT_EQ(StepTip(path, c.step), QString::fromUtf8(c.tip)) << c.count << " " << c.pos;
        EXPECT_EQ(TIniFile(path).ReadInteger("tips", "pos", -1), c.newPos);
    }
    // Writing the position back leaves the tips in their code page.
    EXPECT_TRUE(ReadFileBytes(path).contains(ToCp1250(QStringLiteral("tip1=Zażółć gęślą jaźń\r\n"))));
    WriteFileBytes(path, Tips(0, 2));
    EXPECT_EQ(StepTip(path, +1), QStringLiteral("** BŁĄD **"));
    EXPECT_EQ(TIniFile(path).ReadInteger("tips", "pos", -1), 2); // nothing written
    EXPECT_EQ(StepTip(app.Path("missing.ini"), +1), QStringLiteral("** BŁĄD **"));
}

TEST(Tftip, ShowingAdvancesAndClosingStoresTheCheckBox)
{
    ScopedAppDir app;
    WriteFileBytes(app.Path("tips.ini"), Tips(3, 1));
    TConfig config;
    config.fShowTip = true;
    Core().config = &config;

    Tftip tip;
    QTimer::singleShot(0, [&] {
        EXPECT_TRUE(tip.cbshow->Checked());
        EXPECT_EQ(tip.ltip->text(), QStringLiteral("Źródło ŚWIATŁA"));
        tip.bnextClick();
        EXPECT_EQ(tip.ltip->text(), QStringLiteral("Łódź, Ńą"));
        tip.bprevClick();
        tip.bprevClick();
        EXPECT_EQ(tip.ltip->text(), QStringLiteral("Zażółć gęślą jaźń"));
        tip.cbshow->click(); // "Pokazuj przy starcie" off
        Q_EMIT tip.bclose->OnClick();
    });
    tip.exec();
    EXPECT_FALSE(config.fShowTip);
    EXPECT_EQ(tip.windowTitle(), QStringLiteral("Podpowiedź na dziś :)"));
    Core().config = nullptr;
}

TEST(Tftip, KeyboardAlone)
{
    ScopedAppDir app;
    WriteFileBytes(app.Path("tips.ini"), Tips(3, 1));
    TConfig config;
    Core().config = &config;
    Tftip tip;
    for (const int key : { Qt::Key_Return, Qt::Key_Escape }) {
        const TKeyboardVisit visit = VisitByKeyboard(&tip, [&] { tip.exec(); }, { key });
        EXPECT_EQ(visit.focused, "bclose");
        EXPECT_EQ(visit.tabs, (QStringList { "cbshow", "bprev", "bnext" }));
        EXPECT_TRUE(visit.closed) << key;
    }
    Core().config = nullptr;
}

} // namespace
