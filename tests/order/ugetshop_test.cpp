// The shop choice window: choosing, the incremental search, the details, the read-only list.
#include "order/ugetshop.h"

#include "tests/project/projectfixture.h"
#include "tests/support/windowdriver.h"
#include "ui/gradientbutton.h"
#include "ui/hotlabel.h"
#include "ui/pagelistbox.h"
#include "ui/statuslabel.h"

#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class ShopWindowTest : public testing::Test {
protected:
    void SetUp() override
    {
        TShopList& shops = *f.engine.shopList;
        shops.Clear();
        shops.Add({ .id = -1,
            .name = "Lab Foto",
            .city = "00-950 Warszawa",
            .street = "ul. Lab 1",
            .email = "lab@example.pl",
            .phone = "22 000",
            .personal = true,
            .payCash = true,
            .payTransfer = true,
            .payCard = true,
            .vat = true });
        shops.Add({ .id = 12,
            .name = "Punkt A",
            .city = QStringLiteral("30-001 Kraków"),
            .street = QStringLiteral("ul. Krótka 1"),
            .email = "a@example.pl",
            .phone = "12 111",
            .personal = true,
            .payCash = true });
        shops.Add({ .id = 15,
            .name = "Punkt B",
            .city = QStringLiteral("80-001 Gdańsk"),
            .street = "ul. Morska 2",
            .email = "b@example.pl",
            .phone = "58 222",
            .payCash = true,
            .payTransfer = true,
            .payCard = true,
            .vat = true });
    }
    // PickShop(preselect) with inside run in the shown window, which is then cancelled when
    // still open.
    int Pick(int preselect, const std::function<void()>& inside)
    {
        OnNextModal([&](QWidget*) {
            inside();
            if (window.isVisible())
                window.reject();
        });
        return window.PickShop(preselect);
    }

    TProjectFixture f;
    Tfgetshop& window = fgetshop();
};

TEST_F(ShopWindowTest, AcceptsOnlyASelectedShop)
{
    QStringList items;
    bool stayed = false;
    QString name;
    EXPECT_EQ(Pick(0,
                  [&] {
                      items = window.lbshops->Items();
                      name = window.slname->Status();
                      window.bokClick(); // nothing selected: nothing happens
                      stayed = window.isVisible();
                  }),
        0);
    EXPECT_EQ(items,
        (QStringList { "00-950 Warszawa - Lab Foto", QStringLiteral("30-001 Kraków - Punkt A"),
            QStringLiteral("80-001 Gdańsk - Punkt B") }));
    EXPECT_TRUE(stayed);
    EXPECT_EQ(name, QString()) << "no selection, empty details";

    int preselected = -2;
    EXPECT_EQ(Pick(15,
                  [&] {
                      preselected = window.lbshops->ItemIndex();
                      window.lbshops->SetItemIndex(1);
                      window.bokClick();
                  }),
        12);
    EXPECT_EQ(preselected, 2);
    EXPECT_EQ(Pick(99, [&] { preselected = window.lbshops->ItemIndex(); }), 0) << "cancelled";
    EXPECT_EQ(preselected, -1) << "an unknown ID selects nothing";
}

TEST_F(ShopWindowTest, SearchNarrowsForwardAndEnterWraps)
{
    QList<int> selected;
    QStringList phones;
    int tagAfterMiss = 0;
    Pick(0, [&] {
        EXPECT_TRUE(window.esearch->text().isEmpty());
        QTest::keyClicks(window.esearch, "punkt");
        selected << window.lbshops->ItemIndex(); // "Punkt A", the first line that holds it
        phones << window.slphone->Status();
        QTest::keyClick(window.esearch, Qt::Key_Return);
        selected << window.lbshops->ItemIndex(); // on to "Punkt B"
        phones << window.slphone->Status();
        QTest::keyClick(window.esearch, Qt::Key_Return);
        selected << window.lbshops->ItemIndex(); // wrapped back to "Punkt A"
        QTest::keyClicks(window.esearch, "x"); // "punktx": nothing
        selected << window.lbshops->ItemIndex();
        tagAfterMiss = window.searchTag;
        window.esearch->setText(QStringLiteral("gdańsk")); // the only match, from the top
        selected << window.lbshops->ItemIndex();
        QTest::keyClick(window.esearch, Qt::Key_Return); // found again after all others
        selected << window.lbshops->ItemIndex();
    });
    EXPECT_EQ(selected, (QList<int> { 1, 2, 1, 1, 2, 2 }));
    EXPECT_EQ(phones, (QStringList { "12 111", "58 222" }));
    EXPECT_EQ(tagAfterMiss, -1);
}

TEST_F(ShopWindowTest, DetailsFollowTheSelectionAndTheSearchStartsEmpty)
{
    QStringList details;
    Pick(12, [&] {
        details << window.slname->Status() << window.sladres->Status() << window.sladres2->Status()
                << window.slphone->Status() << window.hlemail->text();
        QTest::keyClicks(window.esearch, "lab");
    });
    EXPECT_EQ(details,
        (QStringList {
            "Punkt A", QStringLiteral("30-001 Kraków"), QStringLiteral("ul. Krótka 1"), "12 111", "a@example.pl" }));
    EXPECT_EQ(window.slname->Caption(), "Nazwa:");
    bool emptied = false;
    int tag = 0;
    Pick(0, [&] {
        emptied = window.esearch->text().isEmpty();
        tag = window.searchTag;
    });
    EXPECT_TRUE(emptied);
    EXPECT_EQ(tag, -1);
}

TEST_F(ShopWindowTest, ActiveShopsAreReadOnlyWithTheLabSelected)
{
    for (const bool noshop : { false, true }) {
        if (noshop)
            f.engine.shopList->Shop(0).id = 7; // a lab with "noshop" is not in its own list
        QString caption, cancel;
        bool okShown = true;
        int selected = -2;
        OnNextModal([&](QWidget*) {
            caption = window.windowTitle();
            cancel = window.bcancel->text();
            okShown = window.bok->isVisible();
            selected = window.lbshops->ItemIndex();
            window.lbshops->SetItemIndex(1);
            window.bokClick(); // no accepting here
            window.reject();
        });
        window.ShowActiveShops();
        EXPECT_EQ(caption, QStringLiteral("Aktywna lista dostawców"));
        EXPECT_EQ(cancel, "Zamknij");
        EXPECT_FALSE(okShown);
        EXPECT_EQ(selected, noshop ? -1 : 0);
        EXPECT_EQ(window.windowTitle(), QStringLiteral("Wybierz punkt usługowy"));
        EXPECT_EQ(window.bcancel->text(), "ANULUJ");
        EXPECT_FALSE(window.bok->isHidden());
    }
}

} // namespace

namespace {

TEST_F(ShopWindowTest, ChosenFromTheKeyboardAlone)
{
    int picked = 0;
    const TKeyboardVisit visit = VisitByKeyboard(
        &window, [&] { picked = window.PickShop(0); }, { Qt::Key_Down, Qt::Key_Down, Qt::Key_Return });
    EXPECT_EQ(visit.focused, "lbshops");
    // No shop chosen yet: the empty e-mail link is passed by.
    EXPECT_EQ(visit.tabs, (QStringList { "bok", "bcancel", "esearch" }));
    EXPECT_TRUE(visit.closed);
    EXPECT_EQ(picked, 12);
}

TEST_F(ShopWindowTest, TypingOnTheListSearchesAndEnterThereOnlyFindsTheNext)
{
    int found = -1, next = -1;
    bool searching = false, stayed = false;
    QString typed;
    OnNextModal([&](QWidget*) {
        for (const char c : QByteArray("punkt"))
            QTest::keyClick(window.focusWidget(), c);
        searching = window.focusWidget() == window.esearch;
        typed = window.esearch->text();
        found = window.lbshops->ItemIndex();
        PressKey(&window, Qt::Key_Return);
        next = window.lbshops->ItemIndex();
        stayed = window.isVisible();
        PressKey(&window, Qt::Key_Escape);
    });
    EXPECT_EQ(window.PickShop(0), 0) << "Escape cancels";
    EXPECT_TRUE(searching);
    EXPECT_EQ(typed, "punkt");
    EXPECT_EQ(found, 1);
    EXPECT_EQ(next, 2);
    EXPECT_TRUE(stayed);
}

} // namespace
