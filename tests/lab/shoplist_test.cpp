#include "lab/shoplist.h"

#include "core/log.h"
#include "platform/cp1250.h"
#include "tests/support/testsupport.h"

#include <gtest/gtest.h>

namespace {

class ShopListTest : public testing::Test {
protected:
    void SetUp() override { LogStore().Clear(); }
    bool Load(const QString& text)
    {
        WriteFileBytes(app_.Path("shopsTMP.txt"), ToCp1250(text));
        return shops_.LoadFromFile(app_.Path("shopsTMP.txt"));
    }
    ScopedAppDir app_;
    TShopList shops_;
};

TEST_F(ShopListTest, ReadsTwelveFieldsAndDefaultsVatForEleven)
{
    ASSERT_TRUE(Load(QStringLiteral("12|Punkt A|00-001 Miasto|ul. Krótka 1||22 111 22 33|11 2222 3333|1|1|0|0\r\n"
                                    "\r\n"
                                    "  14|Punkt B|Łódź|Piotrkowska 3|b@x.pl|42|| 1 |true|1|1|0  \r\n")));
    ASSERT_EQ(shops_.Count(), 2);
    EXPECT_EQ(shops_.Shop(0),
        (TShop { .id = 12,
            .name = "Punkt A",
            .city = "00-001 Miasto",
            .street = QStringLiteral("ul. Krótka 1"),
            .phone = "22 111 22 33",
            .bank = "11 2222 3333",
            .personal = true,
            .payCash = true,
            .vat = true })); // the missing twelfth field
    // " 1 " is trimmed to a flag, "true" is not "1"
    EXPECT_EQ(shops_.Shop(1),
        (TShop { .id = 14,
            .name = "Punkt B",
            .city = QStringLiteral("Łódź"),
            .street = "Piotrkowska 3",
            .email = "b@x.pl",
            .phone = "42",
            .personal = true,
            .payTransfer = true,
            .payCard = true }));
    EXPECT_EQ(shops_.IndexOfID(14), 1);
    EXPECT_EQ(shops_.IndexOfID(0), -1);
    EXPECT_TRUE(LogHasLine("Loading shop list from: " + app_.Path("shopsTMP.txt"), 0));
}

TEST_F(ShopListTest, BadLinesStopTheLoadAndKeepEarlierShops)
{
    struct Case {
        const char* line;
        const char* log;
        int level;
    };
    const Case cases[] = {
        { "2|a|b|c|d|e|f|1|1|1", "shop list has invalid format !", 0 },
        { "2|a|b|c|d|e|f|1|1|1|1|1|1", "shop list has invalid format !", 0 },
        { "x2|a|b|c|d|e|f|1|1|1|1|1", "BŁĄD: 'x2' is not a valid integer value", 3 },
        { "2abc|a|b|c|d|e|f|1|1|1|1|1", "BŁĄD: '2abc' is not a valid integer value", 3 },
        { "|a|b|c|d|e|f|1|1|1|1|1", "BŁĄD: '' is not a valid integer value", 3 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        LogStore().Clear();
        TShopList shops;
        WriteFileBytes(app_.Path("s.txt"), ToCp1250(QStringLiteral("1|ok|c|s|e|p|b|1|1|1|1|1\n") + c.line));
        EXPECT_FALSE(shops.LoadFromFile(app_.Path("s.txt")));
        ASSERT_EQ(shops.Count(), 1);
        EXPECT_EQ(shops.Shop(0).name, "ok");
        EXPECT_TRUE(LogHasLine(QString::fromUtf8(c.log), c.level));
    }
}

TEST_F(ShopListTest, EmptyFileLoadsNothingAndMissingFileFails)
{
    EXPECT_TRUE(Load(QStringLiteral(" \r\n\r\n")));
    EXPECT_EQ(shops_.Count(), 0);
    EXPECT_FALSE(shops_.LoadFromFile(app_.Path("missing.txt")));
    EXPECT_TRUE(LogHasLine(QStringLiteral("Can't load file !"), 3));
}

TEST_F(ShopListTest, ClearEmptiesTheList)
{
    ASSERT_TRUE(Load(QStringLiteral("1|a|b|c|d|e|f|1|1|1|1|1")));
    shops_.Clear();
    EXPECT_EQ(shops_.Count(), 0);
    EXPECT_EQ(shops_.IndexOfID(1), -1);
}

} // namespace
