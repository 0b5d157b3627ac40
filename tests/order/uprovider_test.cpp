// The provider window: the lab's data and price rules, "Brak." and "dowolna", the notice of a
// lab without its own shop, and the link to the active shops.
#include "order/uprovider.h"

#include "project/numbertext.h"
#include "tests/project/projectfixture.h"
#include "tests/support/urlcatcher.h"
#include "tests/support/windowdriver.h"
#include "ui/gradientbutton.h"
#include "ui/hotlabel.h"

#include <QLabel>
#include <QLocale>
#include <QTest>

#include <gtest/gtest.h>

namespace {

TEST(ProviderWindow, ShowsTheLabsDataAndPrices)
{
    TProjectFixture f;
    ASSERT_TRUE(f.project->AddPhoto(f.WritePhoto("a.jpg", 60, 40)));
    f.project->Photo(0).quantity = 3;
    f.project->SetFormat(0, kFormat13x18);
    f.engine.name = "Lab Foto";
    f.engine.person = "Anna";
    f.engine.email = "lab@example.pl";
    f.engine.delivery_price = -100;
    f.engine.delivery_pricepre = 1250;
    f.engine.minphotos = -1;
    f.engine.open_price = 500;
    f.engine.min_price = 2000;
    Tfprovider& window = fprovider();
    int activeShops = 0;
    window.SetActiveShopsLink([&] { ++activeShops; });

    const QString point = QLocale().decimalPoint();
    struct Shown {
        QString title, person, price, delivery, deliveryPre, minPhotos, open, min, value;
        bool notice;
    };
    const auto show = [&] {
        Shown shown;
        OnNextModal([&](QWidget*) {
            shown = { window.ltitle->text(), window.lperson->text(), window.lprice->text(), window.lpricedel->text(),
                window.lpricedelpre->text(), window.lminphotos->text(), window.lpriceopen->text(),
                window.lpricemin->text(), window.lvalue->text(), window.lmainshopi->isVisible() };
            window.GradientButton1->click();
            window.GradientButton2->click();
        });
        window.exec();
        return shown;
    };
    Shown shown = show();
    EXPECT_EQ(shown.title, "Lab Foto");
    EXPECT_EQ(shown.person, "Osoba kontaktowa: Anna");
    EXPECT_EQ(shown.price, "3" + point + QStringLiteral("60 zł"));
    EXPECT_EQ(shown.delivery, QStringLiteral("Brak."));
    EXPECT_EQ(shown.deliveryPre, "12" + point + QStringLiteral("50 zł"));
    EXPECT_EQ(shown.minPhotos, "dowolna");
    EXPECT_EQ(shown.open, "5" + point + QStringLiteral("00 zł"));
    EXPECT_EQ(shown.min, "20" + point + QStringLiteral("00 zł"));
    EXPECT_EQ(shown.value, "~ 21" + point + QStringLiteral("10 zł")) << "3.60 + opening 5.00 + prepaid delivery 12.50";
    EXPECT_FALSE(shown.notice);
    EXPECT_EQ(activeShops, 1);

    f.engine.noshop = true;
    f.engine.minphotos = 10;
    f.engine.open_price = -1;
    shown = show();
    EXPECT_TRUE(shown.notice);
    EXPECT_EQ(window.lmainshopi->text(), QStringLiteral("Ten punkt nie realizuje zleceń, tylko \"Aktywni dostawcy\"."));
    EXPECT_EQ(shown.minPhotos, "10");
    EXPECT_EQ(shown.open, QStringLiteral("Brak."));
}

// The lab's page as it wrote it, without a scheme, opens as a web address, not a relative one.
TEST(ProviderWindow, LinksOpenTheLabsPageAndEmail)
{
    TProjectFixture f;
    f.engine.email = "lab@example.pl";
    f.engine.www = "www.lab.example";
    Tfprovider& window = fprovider();
    window.SetActiveShopsLink({});
    TUrlCatcher catcher;
    OnNextModal([&](QWidget*) {
        window.hlwwwClick();
        window.hlemailClick();
        window.reject();
    });
    window.exec();
    EXPECT_EQ(catcher.urls, (QList<QUrl> { QUrl("http://www.lab.example"), QUrl("mailto:lab@example.pl") }));
}

TEST(ProviderWindow, KeyboardAlone)
{
    TProjectFixture f;
    f.engine.email = "lab@example.pl";
    f.engine.www = "www.lab.pl";
    Tfprovider& window = fprovider();
    int activeShops = 0;
    window.SetActiveShopsLink([&] { ++activeShops; });
    const TKeyboardVisit visit = VisitByKeyboard(&window, [&] { window.exec(); }, { Qt::Key_Return });
    EXPECT_EQ(visit.focused, "GradientButton2");
    EXPECT_EQ(visit.tabs, (QStringList { "hlemail", "hlwww", "GradientButton1" }));
    EXPECT_TRUE(visit.closed) << "Enter: \"Zamknij\"";

    OnNextModal([&](QWidget*) {
        PressKey(&window, Qt::Key_Backtab); // "Aktywni dostawcy"
        PressKey(&window, Qt::Key_Space);
        PressKey(&window, Qt::Key_Escape);
    });
    window.exec();
    EXPECT_EQ(activeShops, 1);
    EXPECT_FALSE(window.isVisible());
}

} // namespace
