#include "lab/formats.h"

#include "core/log.h"
#include "lab/listfile.h"
#include "platform/cp1250.h"
#include "tests/support/testsupport.h"

#include <gtest/gtest.h>

namespace {

class FormatsTest : public testing::Test {
protected:
    void SetUp() override { LogStore().Clear(); }
    bool Load(const QString& text)
    {
        WriteFileBytes(app_.Path("formatsTMP.txt"), ToCp1250(text));
        return formats_.LoadFormats(app_.Path("formatsTMP.txt"));
    }
    ScopedAppDir app_;
    TFormats formats_;
};

TEST_F(FormatsTest, LoadsLinesInFileOrder)
{
    ASSERT_TRUE(Load(QStringLiteral(" 3|10 x 15|99|102|152 \r\n\r\n   \n7 | 13 x 18 | 149 | 127 | 178\n")));
    ASSERT_EQ(formats_.Count(), 2);
    EXPECT_EQ(
        formats_.Format(0), (TFormat { .id = 3, .name = "10 x 15", .price = 99, .widthMm = 102, .heightMm = 152 }));
    EXPECT_EQ(
        formats_.Format(1), (TFormat { .id = 7, .name = "13 x 18", .price = 149, .widthMm = 127, .heightMm = 178 }));
    EXPECT_EQ(formats_.GetPrice(7), 149);
    EXPECT_EQ(formats_.GetName(3), "10 x 15");
    EXPECT_TRUE(LogHasLine(QStringLiteral("FORMAT AQUIRED: 3: \"10 x 15\" 99 gr, 102 x 152 mm"), 0));
    EXPECT_TRUE(LogHasLine(QStringLiteral("2 formats total."), 0));
}

TEST_F(FormatsTest, RefusedLinesStopTheLoad)
{
    struct Case {
        const char* text;
        const char* log; // the last level-3 line
    };
    const Case cases[] = {
        { "5|Name||102|152", "Parser text: \"5|Name||102|152\"" },
        { "5|Name|1|102|152|9", "Parser text: \"5|Name|1|102|152|9\"" },
        { "-1|Name|1|102|152", "ID must by >= 0 !" },
        { "x|Name|1|102|152", "'x' is not a valid integer value" },
        { "5|Name|99abc|102|152", "'99abc' is not a valid integer value" },
        { "5|Name|99|102 mm|152", "'102 mm' is not a valid integer value" },
        { "5|Name|99|102|99999999999", "'99999999999' is not a valid integer value" },
        { "1|A|1|2|3\n1|B|1|2|3", "duplicated ID in formats (1) !" },
        // sides that would overflow the pixel arithmetic, and negative prices
        { "5|Name|-1|102|152", "Parser text: \"5|Name|-1|102|152\"" },
        { "5|Name|99|0|152", "Parser text: \"5|Name|99|0|152\"" },
        { "5|Name|99|102|5001", "Parser text: \"5|Name|99|102|5001\"" },
        { "5|Name|99|-2147483648|152", "Parser text: \"5|Name|99|-2147483648|152\"" },
        { "5|Name|99|2147483647|2147483647", "Parser text: \"5|Name|99|2147483647|2147483647\"" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        LogStore().Clear();
        TFormats formats;
        WriteFileBytes(app_.Path("f.txt"), c.text);
        EXPECT_FALSE(formats.LoadFormats(app_.Path("f.txt")));
        ASSERT_GT(LogStore().Lines().size(), 0);
        EXPECT_EQ(LogStore().Lines().last(), QString::fromUtf8(c.log));
        EXPECT_EQ(LogStore().Levels().Get(LogStore().Lines().size() - 1), 3);
        if (QByteArray(c.log).startsWith("Parser text")) {
            EXPECT_EQ(LogStore().Lines()[LogStore().Lines().size() - 2].left(22), "Invalid formats file: ");
        }
    }
    EXPECT_FALSE(Load(QStringLiteral("5|Name|-1|102|152")));
    EXPECT_TRUE(LogHasLine(QStringLiteral("Invalid formats file: price below 0."), 3));
    EXPECT_FALSE(Load(QStringLiteral("5|Name|99|102|5001")));
    EXPECT_TRUE(LogHasLine(QStringLiteral("Invalid formats file: side outside 1..5000 mm."), 3));
}

TEST_F(FormatsTest, ExtremeSidesAndFreePrintsAreAccepted)
{
    ASSERT_TRUE(Load(QStringLiteral("1|Mini|0|1|1\n2|Baner|100000|5000|5000")));
    TRect largest;
    formats_.GetRect(2, 600, largest);
    EXPECT_EQ(largest, (TRect { 0, 0, 118110, 118110 }));
}

// A bad line of megabytes is logged as its first few hundred characters; a file above the
// lab file limit is not read at all.
TEST_F(FormatsTest, HugeLinesAndFilesStayOutOfTheLog)
{
    const QString longName(1 << 20, u'x');
    EXPECT_FALSE(Load("5|" + longName));
    EXPECT_EQ(LogStore().Lines().last(), "Parser text: \"5|" + longName.left(kLoggedLineChars - 2) + "...\"");
    EXPECT_FALSE(Load("5|N|" + longName + "|1|1"));
    EXPECT_EQ(LogStore().Lines().last(), "'" + longName.left(kLoggedLineChars) + "...' is not a valid integer value");

    LogStore().Clear();
    EXPECT_FALSE(Load("1|A|1|2|3\n" + QString(kLabFileMaxBytes, u' ')));
    EXPECT_EQ(formats_.Count(), 0);
    EXPECT_TRUE(LogHasLine(app_.Path("formatsTMP.txt") + " is larger than 4194304 bytes", 3));
}

TEST_F(FormatsTest, FormatsBeforeABadLineStay)
{
    EXPECT_FALSE(Load(QStringLiteral("1|A|100|102|152\n2|B|bad|1|1\n3|C|1|1|1")));
    EXPECT_EQ(formats_.Count(), 1);
    EXPECT_EQ(formats_.GetName(1), "A");
}

TEST_F(FormatsTest, EmptyOrMissingFilesFail)
{
    EXPECT_FALSE(Load(QStringLiteral("\r\n  \r\n")));
    EXPECT_TRUE(LogHasLine(QStringLiteral("0 formats total.")));
    EXPECT_FALSE(formats_.LoadFormats(app_.Path("missing.txt")));
}

TEST_F(FormatsTest, RectanglesAreLandscapeAtTheGivenResolution)
{
    ASSERT_TRUE(Load(QStringLiteral("1|10x15|99|152|102\n2|15x10|99|102|152\n3|A4|500|210|297")));
    for (int id : { 1, 2 }) {
        TRect rect { 5, 5, 5, 5 };
        formats_.GetRect(id, 300, rect);
        EXPECT_EQ(rect, (TRect { 0, 0, 1795, 1205 }));
    }
    TRect a4;
    formats_.GetRect(3, 100, a4);
    EXPECT_EQ(a4, (TRect { 0, 0, 1169, 827 }));

    TRect none { 0, 7, 8, 9 };
    formats_.GetRect(-1, 300, none);
    EXPECT_EQ(none, (TRect { -1, 7, 8, 9 }));

    TRect unknown;
    formats_.GetRect(42, 300, unknown);
    EXPECT_EQ(unknown, (TRect { 0, 0, 200, 100 }));
    EXPECT_TRUE(LogHasLine(QStringLiteral("??? TFormats.GetRect failed to translate id2idx !"), 3));

    EXPECT_EQ(formats_.GetPrice(-1), 0);
    EXPECT_EQ(formats_.GetName(-1), QString());
    EXPECT_EQ(formats_.IdToIndex(-5), -1);
}

} // namespace
