// The window-free rules of the order windows: the shop search, the shop's options, the checks
// of the send-order pages and the preview of a rendered photo.
#include "lab/shoplist.h"
#include "order/sendorderrules.h"
#include "order/shopchoice.h"

#include <QImage>

#include <gtest/gtest.h>

namespace {

TEST(ShopSearch, WrapsFromTheLineAfterTheLastMatch)
{
    const QStringList lines { QStringLiteral("00-001 Warszawa - Punkt A"), QStringLiteral("30-001 Kraków - Foto B"),
        QStringLiteral("80-001 Gdańsk - Punkt C") };
    const struct {
        const char* text;
        int lastMatch;
        int expected;
    } cases[] = {
        { "punkt", -1, 0 }, // typing starts at the top
        { "punkt", 0, 2 }, // Enter goes on to the next match
        { "punkt", 2, 0 }, // ... wrapping past the last line
        { "KRAKÓW", -1, 1 }, // letter case ignored, Polish letters too
        { "foto", 1, 1 }, // the only match is found again after all others
        { "-001 ", 0, 1 }, // any part of the line
        { "nowhere", 1, -1 }, // no match: -1, the next search starts at the top
        { "", 0, -1 }, // an empty text is no search
        { "punkt", 7, 0 }, // a stale match past the end starts at the top
    };
    for (const auto& c : cases)
        EXPECT_EQ(NextShopMatch(lines, QString::fromUtf8(c.text), c.lastMatch), c.expected)
            << c.text << " after " << c.lastMatch;
    EXPECT_EQ(NextShopMatch({}, QStringLiteral("a"), -1), -1);
}

TEST(ShopChoice, LinesAndOptionsOfTheList)
{
    TShopList shops;
    shops.Add({ .id = -1,
        .name = "Lab",
        .city = "00-950 Warszawa",
        .personal = true,
        .payCash = true,
        .payTransfer = true,
        .payCard = true,
        .vat = true });
    shops.Add({ .id = 12, .name = "Punkt A", .city = QStringLiteral("30-001 Kraków"), .payCash = true });
    EXPECT_EQ(ShopLines(shops), (QStringList { "00-950 Warszawa - Lab", QStringLiteral("30-001 Kraków - Punkt A") }));
    EXPECT_FALSE(ShopOptions(shops, 0)) << "0 is no shop";
    EXPECT_FALSE(ShopOptions(shops, 99));
    const std::optional<TShopOptions> cashOnly = ShopOptions(shops, 12);
    ASSERT_TRUE(cashOnly);
    EXPECT_TRUE(cashOnly->payCash);
    EXPECT_FALSE(cashOnly->personal || cashOnly->payTransfer || cashOnly->payCard || cashOnly->vat);
    EXPECT_TRUE(ShopOptions(shops, -1)->vat);
}

TEST(SendOrderChecks, CustomerDataInOrderWithMinimumLengths)
{
    const TCustomerData valid { "Jan K", "00-001 Wwa", "ul. 1", "1234567", "a@b.pl", "", "" };
    EXPECT_EQ(CustomerDataWarning(valid), QString()) << "every minimum exactly reached";
    const struct {
        QString TCustomerData::*field;
        const char* text;
        const char16_t* warning;
    } cases[] = {
        { &TCustomerData::name, "Jan ", u"Podaj imię i nazwisko !" },
        { &TCustomerData::city, "00-001 Ww", u"Podaj kod pocztowy i miasto !" },
        { &TCustomerData::street, "ul 1", u"Podaj ulice i nr domu/mieszkania !" },
        { &TCustomerData::phone, "123456", u"Podaj nr telefonu kontaktowego !" },
        { &TCustomerData::email, "a@b.p", u"Podaj adres email !" },
    };
    for (const auto& c : cases) {
        TCustomerData data = valid;
        data.*c.field = QString::fromUtf8(c.text);
        EXPECT_EQ(CustomerDataWarning(data), QString::fromUtf16(c.warning)) << c.text;
    }
    TCustomerData allShort;
    EXPECT_EQ(CustomerDataWarning(allShort), QStringLiteral("Podaj imię i nazwisko !")) << "the first check wins";
    TCustomerData polish = valid;
    polish.name = QStringLiteral("Łucja");
    EXPECT_EQ(CustomerDataWarning(polish), QString()) << "characters, not bytes";
}

TEST(SendOrderChecks, OrderDetailsInOrder)
{
    EXPECT_EQ(CheckOrderDetails(0, false, true, "", "").warning, QStringLiteral("Wybierz punkt usługowy !"));
    EXPECT_EQ(CheckOrderDetails(-1, false, true, "", "").warning, QStringLiteral("Wybierz formę płatności !"));
    for (const auto& [nip, company] : { std::pair { "", "Firma" }, std::pair { "123", "" } }) {
        const TOrderDetailsCheck vat = CheckOrderDetails(12, true, true, nip, company);
        EXPECT_EQ(vat.warning, QStringLiteral("Podaj nip/nazwę firmy aby otrzymać fakturę VAT !"));
        EXPECT_TRUE(vat.backToCustomerData);
    }
    const TOrderDetailsCheck ok = CheckOrderDetails(12, true, false, "", "");
    EXPECT_TRUE(ok.warning.isEmpty());
    EXPECT_FALSE(ok.backToCustomerData);
    EXPECT_TRUE(CheckOrderDetails(12, true, true, "123", "Firma").warning.isEmpty());
}

TEST(OrderPreview, DrawsThePhotoWholeCentredOnWhite)
{
    QImage wide(40, 20, QImage::Format_RGB32);
    wide.fill(Qt::red);
    const QImage enlarged = OrderPreviewPicture(QSize(100, 100), wide);
    ASSERT_EQ(enlarged.size(), QSize(100, 100));
    EXPECT_EQ(enlarged.pixel(50, 10), qRgb(255, 255, 255)) << "above the photo";
    EXPECT_EQ(enlarged.pixel(50, 89), qRgb(255, 255, 255)) << "below it";
    EXPECT_EQ(enlarged.pixel(1, 50), qRgb(255, 0, 0)) << "enlarged to the full width";
    EXPECT_EQ(enlarged.pixel(98, 26), qRgb(255, 0, 0));

    QImage tall(300, 900, QImage::Format_RGB32);
    tall.fill(Qt::blue);
    const QImage reduced = OrderPreviewPicture(QSize(90, 90), tall);
    EXPECT_EQ(reduced.pixel(45, 1), qRgb(0, 0, 255)) << "reduced to the full height";
    EXPECT_EQ(reduced.pixel(20, 45), qRgb(255, 255, 255)) << "centred: white at the sides";
    EXPECT_EQ(reduced.pixel(70, 45), qRgb(255, 255, 255));

    EXPECT_EQ(OrderPreviewPicture(QSize(10, 10), QImage()).pixel(5, 5), qRgb(255, 255, 255));
}

} // namespace
