#include "core/textutils.h"
#include "core/valuelist.h"

#include "tests/support/testsupport.h"
#include <QRegularExpression>

#include <gtest/gtest.h>

TEST(TextUtils, TrimAndSplitNameValue)
{
    EXPECT_EQ(TrimText(QStringLiteral(u"\t\r a b \x01\n")), "a b");
    EXPECT_EQ(TrimText(QStringLiteral(u"\u00A0x\u00A0")), QStringLiteral(u"\u00A0x\u00A0")); // only up to " "
    const NameValue pair = SplitNameValue(" key = a=b ");
    EXPECT_TRUE(pair.ok);
    EXPECT_EQ(pair.name, "key");
    EXPECT_EQ(pair.value, "a=b");
    EXPECT_FALSE(SplitNameValue("[section]").ok);
    EXPECT_EQ(SplitTextLines("a\r\nb\nc\rd\r\n"), QStringList({ "a", "b", "c", "d" }));
    EXPECT_EQ(SplitTextLines("a\n\nb"), QStringList({ "a", "", "b" }));
}

TEST(TextUtils, TextBetween)
{
    const struct {
        const char* start;
        const char* end;
        const char* text;
        int from;
        bool include;
        const char* expected;
    } cases[] = {
        { "", "=", "a=b", 1, false, "a" },
        { "=", "", "a=b", 1, false, "b" },
        { "(", ")", "x(ab)y(cd)", 1, false, "ab" },
        { "(", ")", "x(ab)y(cd)", 1, true, "(ab)" },
        { "(", ")", "x(ab)y(cd)", 6, false, "cd" }, // the first five characters are dropped
        { "(", ")", "x(ab)y(cd)", 4, false, "" }, // "b)y(cd)": the first end lies before the start
        { "\"", "\"", "say \"hi\" now", 1, false, "hi" }, // equal markers: the second one ends
        { "\"", "\"", "say \"hi\" now", 1, true, "\"hi\"" },
        { "[", "]", "] [a]", 1, false, "" }, // the first end lies before the start
        { "(", ")", "no markers", 1, false, "" },
        { "(", ")", "(open", 1, false, "" },
        { "ab", "b", "ab", 1, false, "" }, // end inside the start marker
        { "(", ")", "()", 1, false, "" },
    };
    for (const auto& c : cases)
        EXPECT_EQ(TextBetween(c.start, c.end, c.text, c.from, c.include), c.expected)
            << c.start << " " << c.end << " " << c.text << " " << c.from;
}

TEST(TextUtils, OccurrencesAndSplitting)
{
    EXPECT_EQ(CountOccurrences("ab", "xabyab"), 2);
    EXPECT_EQ(CountOccurrences("ab", "aabb"), 2); // removing the inner "ab" joins a new one
    EXPECT_EQ(CountOccurrences("aa", "aaa"), 1);
    EXPECT_EQ(CountOccurrences("", "aaa"), 0);
    EXPECT_EQ(FindOccurrence("a", "banana", 0, 1), 2);
    EXPECT_EQ(FindOccurrence("a", "banana", -5, 1), 2);
    EXPECT_EQ(FindOccurrence("a", "banana", 2, 1), 6);
    EXPECT_EQ(FindOccurrence("a", "banana", 3, 1), 0);
    EXPECT_EQ(FindOccurrence("a", "banana", 0, 3), 4);

    QStringList list { "kept" };
    EXPECT_EQ(SplitByChars("1| x ||2", list, "|", false), 3);
    EXPECT_EQ(list, QStringList({ "kept", "1", "x", "2" }));
    list.clear();
    EXPECT_EQ(SplitByChars("1| x ||2|", list, "|;", true), 5);
    EXPECT_EQ(list, QStringList({ "1", "x", "", "2", "" }));
    list.clear();
    EXPECT_EQ(SplitByChars("a;b|c", list, "|;", false), 3);

    QStringList lines { " a ", "", "  ", "b" };
    TrimLines(lines);
    EXPECT_EQ(RemoveEmptyLines(lines), 2);
    EXPECT_EQ(lines, QStringList({ "a", "b" }));
}

TEST(TextUtils, SmallFormats)
{
    EXPECT_EQ(TitleCase(QStringLiteral(u"jAN  kowALSKI łódź")), QStringLiteral(u"Jan  Kowalski Łódź"));
    EXPECT_EQ(LeftChars("abc", 2), "ab");
    EXPECT_EQ(LeftChars("abc", 4), "");
    EXPECT_EQ(ZeroPad(7, 5), "00007");
    EXPECT_EQ(ZeroPad(123456, 5), "123456");
    EXPECT_EQ(GroupThousands("1234567"), "1,234,567");
    EXPECT_EQ(GroupThousands("123"), "123");
    EXPECT_EQ(GroupThousands("-123456"), "-123,456");
    EXPECT_EQ(FormatThousands(1000), "1,000");
    EXPECT_EQ(FormatThousands(0), "0");
    EXPECT_TRUE(InRange(5, 5, 6));
    EXPECT_FALSE(InRange(7, 5, 6));
    EXPECT_EQ(MulDiv64(INT64_MAX / 2, 4, 8), INT64_MAX / 4); // the product exceeds 64 bits
    EXPECT_EQ(MulDiv64(7, 3, 0), 0);
    EXPECT_EQ(MulDiv64(-7, 1, 2), -3);
    EXPECT_EQ(Swap16(0x1234), 0x3412);
    EXPECT_EQ(Swap32(0x12345678u), 0x78563412u);

    const QString hex = RandomHex(64);
    EXPECT_TRUE(QRegularExpression("^[0-9A-F]{64}$").match(hex).hasMatch()) << hex.toStdString();
    EXPECT_NE(RandomHex(64), hex);
    EXPECT_EQ(RandomHex(0), "");
}

TEST(TextUtils, FormatByteSize)
{
    const int64_t GiB = int64_t(1) << 30;
    const struct {
        int64_t bytes;
        const char* largest;
        const char* expected;
    } cases[] = {
        { 0, "Tb", "0 bytes" },
        { 1024, "Tb", "1,024 bytes" },
        { 1025, "Tb", "1 Kb" },
        { 5000, "Tb", "4 Kb" },
        { 5000, "bytes", "4 Kb" }, // the step to Kb is always taken
        { GiB + 1, "Tb", "1,024 Mb" },
        { 5 * GiB, "kb", "5,242,880 Kb" },
        { 5 * GiB, "Mb", "5,120 Mb" },
        { 5 * GiB, "Tb", "5 Gb" },
        { 3 * (int64_t(1) << 50), "Tb", "3,072 Tb" },
        { -5000, "Tb", "-5,000 bytes" },
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatByteSize(c.bytes, c.largest), c.expected) << c.bytes << " " << c.largest;
}

TEST(TextUtils, ColorText)
{
    EXPECT_EQ(ColorToText(0x0000FF), "255,,");
    EXPECT_EQ(ColorToText(0), ",,");
    EXPECT_EQ(ColorToText(0xFFFFFF), "255,255,255");
    EXPECT_EQ(ColorToText(0x030201), "1,2,3");
    const struct {
        const char* text;
        uint32_t color;
    } cases[] = {
        { "255,,", 0x0000FF },
        { ",,", 0 },
        { "ff,0,", 0x0000FF },
        { "300,0,0", 44 },
        { "1,2,3", 0x030201 },
        { "Ab,,f", 0x0F00AB },
        { "fff,,", 0xFF }, // hexadecimal: first two characters
        { "1f,2,3", 0 },
        { "g1,2,3", 0 },
        { "1,2", 0 },
        { "1,2,3,4", 0 },
        { " 1,2,3", 0 },
        { "", 0 },
        { "99999999999,1,1", 0 },
    };
    for (const auto& c : cases)
        EXPECT_EQ(TextToColor(c.text), c.color) << c.text;
}

TEST(TValueList, HashedLookup)
{
    EXPECT_EQ(TValueList::NameHash(""), 0u);
    EXPECT_EQ(TValueList::NameHash("Name"), 0x74835u);
    EXPECT_EQ(TValueList::NameHash("NAME"), 0x74835u);
    EXPECT_EQ(TValueList::NameHash("averyveryverylongkeyname"), 0x20BE615u);
    EXPECT_EQ(TValueList::NameHash(QStringLiteral(u"Ł")), 0xA3u); // only ASCII letters fold

    TValueList list;
    list.lines = QStringList({ "Host = a.example ", "port=21", "HOST=b.example" });
    EXPECT_FALSE(list.Contains("host")); // not rebuilt yet
    list.Rebuild();
    EXPECT_TRUE(list.Contains("host"));
    EXPECT_EQ(list.GetValue("host"), "a.example");
    EXPECT_EQ(list.GetValue("host", 1), "b.example");
    EXPECT_EQ(list.GetValue("host", 2), "");
    EXPECT_EQ(list.GetValue("user"), "");
    EXPECT_EQ(list.nameHashes.Count(), 3);
}
