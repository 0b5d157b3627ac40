// The colour engine: record layout, the documented values, each operation against the
// reference written in colourreference.h, and the whole-picture pass against the one-pixel
// definitions (every 24-bit colour, random settings, a real photo).
#include "imaging/colour.h"
#include "imaging/colourpass.h"
#include "imaging/correctionsrecord.h"
#include "imaging/parallelrows.h"
#include "imaging/picture.h"
#include "tests/imaging/colourreference.h"
#include "tests/imaging/testpictures.h"
#include "tests/support/testsupport.h"

#include <QImage>

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <random>

namespace {

constexpr std::uint32_t Px(int r, int g, int b, int a = 255)
{
    return std::uint32_t(a) << 24 | std::uint32_t(r) << 16 | std::uint32_t(g) << 8 | std::uint32_t(b);
}

reference::Settings SettingsOf(const Corrections& c)
{
    reference::Settings s;
    s.blackWhite = c.blackWhite != 0;
    s.sepia = c.sepia != 0;
    s.sat = c.sat, s.inten = c.inten, s.contr = c.contr, s.balr = c.balr, s.balg = c.balg, s.balb = c.balb;
    s.hue1 = c.hue1, s.hue2 = c.hue2, s.hue3 = c.hue3;
    return s;
}

Corrections Record(
    std::initializer_list<std::pair<int Corrections::*, int>> values, bool bw = false, bool sepia = false)
{
    Corrections c;
    InitCorrections(c);
    for (const auto& [field, value] : values)
        c.*field = value;
    c.blackWhite = bw;
    c.sepia = sepia;
    return c;
}

// Every 24-bit colour once, with varying alpha, as a 4096 x 4096 picture.
QImage AllColours()
{
    QImage picture = NewPicture(4096, 4096);
    const PixelRows<std::uint32_t> rows = WritableRows(picture);
    for (int y = 0; y < 4096; ++y)
        for (int x = 0; x < 4096; ++x)
            rows[y][x] = std::uint32_t((x * 7 + y) & 255) << 24 | std::uint32_t(y) << 12 | std::uint32_t(x);
    return picture;
}

// Counts pixels where `after` differs from the reference chain applied to `before`; reports
// the first few.
std::int64_t CountMismatches(const QImage& before, const QImage& after, const Corrections& record, int pivot)
{
    const reference::Settings settings = SettingsOf(record);
    const PixelRows<const std::uint32_t> in = ReadableRows(before), out = ReadableRows(after);
    std::atomic<std::int64_t> mismatches { 0 };
    ParallelRows(in.height, in.width, [&](int first, int end) {
        for (int y = first; y < end; ++y)
            for (int x = 0; x < in.width; ++x) {
                const std::uint32_t expected = reference::Chain(in[y][x], settings, pivot);
                if (out[y][x] != expected && mismatches++ < 5)
                    ADD_FAILURE() << std::hex << "pixel " << in[y][x] << " gave " << out[y][x] << " not " << expected;
            }
    });
    return mismatches;
}

} // namespace

TEST(Corrections, StoredRecordIsThePacked69ByteLayoutAndStartsNeutral)
{
    Corrections neutral;
    std::memset(&neutral, 0xAB, sizeof neutral);
    InitCorrections(neutral);
    CorrectionsRecordBytes expected {};
    expected[8] = 0x80; // crop left -1.0f at 6: 00 00 80 BF
    expected[9] = 0xBF;
    EXPECT_EQ(CorrectionsToBytes(neutral), expected);
    EXPECT_TRUE(HasNoColourChange(neutral));

    Corrections record = neutral;
    record.rotation = 3;
    record.blackWhite = 1;
    record.crop = { 0.25f, 0.5f, 0.5f, 0.25f, 0.75f, 0.75f };
    record.sat = -100;
    record.inten = 1;
    record.contr = 2;
    record.balr = 3;
    record.balg = 4;
    record.balb = 5;
    record.hue1 = -180;
    record.hue2 = 0x01020304;
    record.hue3 = 100;
    record.reserved[2] = 9;
    const CorrectionsRecordBytes bytes { 3, 0, 0, 0, 1, 0, // rotation, blackWhite, sepia
        0, 0, 0x80, 0x3E, 0, 0, 0, 0x3F, 0, 0, 0, 0x3F, // crop left, top, width
        0, 0, 0x80, 0x3E, 0, 0, 0x40, 0x3F, 0, 0, 0x40, 0x3F, // height, right, bottom
        0x9C, 0xFF, 0xFF, 0xFF, 1, 0, 0, 0, 2, 0, 0, 0, // sat, inten, contr
        3, 0, 0, 0, 4, 0, 0, 0, 5, 0, 0, 0, // balr, balg, balb
        0x4C, 0xFF, 0xFF, 0xFF, 4, 3, 2, 1, 100, 0, 0, 0, // hue1, hue2, hue3
        0, 0, 9 }; // reserved
    EXPECT_EQ(CorrectionsToBytes(record), bytes);
    EXPECT_EQ(CorrectionsFromBytes(bytes), record);
}

struct DocumentedValue {
    const char* what;
    std::uint32_t (*operation)(std::uint32_t);
    std::uint32_t pixel;
    std::uint32_t expected;
};

class DocumentedValues : public testing::TestWithParam<DocumentedValue> { };

TEST_P(DocumentedValues, Match)
{
    EXPECT_EQ(GetParam().operation(GetParam().pixel), GetParam().expected) << GetParam().what;
}

INSTANTIATE_TEST_SUITE_P(Colour, DocumentedValues,
    testing::Values(
        DocumentedValue { "grey of red: 76.5 is just below in extended", ToGreyscale, Px(255, 0, 0), Px(76, 76, 76) },
        DocumentedValue { "grey of green", ToGreyscale, Px(0, 255, 0), Px(150, 150, 150) },
        DocumentedValue { "grey of blue keeps alpha", ToGreyscale, Px(0, 0, 255, 7), Px(28, 28, 28, 7) },
        DocumentedValue { "contrast +50 of 200", [](std::uint32_t p) { return AdjustContrast(p, 50, 99); },
            Px(200, 27, 127), Px(236, 0, 127) },
        DocumentedValue { "contrast -100 pulls to the pivot",
            [](std::uint32_t p) { return AdjustContrast(p, -100, 96); }, Px(0, 255, 96), Px(96, 96, 96) },
        DocumentedValue { "balance red 100", [](std::uint32_t p) { return BalanceColours(p, 100, 0, 0); },
            Px(128, 9, 9), Px(28, 9, 9) },
        DocumentedValue { "balance red 100 of 200 truncates 42.97",
            [](std::uint32_t p) { return BalanceColours(p, 100, 0, 0); }, Px(200, 0, 0), Px(158, 0, 0) },
        DocumentedValue { "balance leaves 0 and 255", [](std::uint32_t p) { return BalanceColours(p, 100, -100, 100); },
            Px(0, 255, 255), Px(0, 255, 255) },
        DocumentedValue { "saturation -100 of red", [](std::uint32_t p) { return AdjustSaturation(p, -100); },
            Px(255, 0, 0), Px(87, 84, 84) },
        DocumentedValue { "hue +180 of red is cyan", [](std::uint32_t p) { return AdjustHsl(p, 180, 0, 0); },
            Px(255, 0, 0, 3), Px(0, 255, 255, 3) },
        DocumentedValue { "lightness +100 is white", [](std::uint32_t p) { return AdjustHsl(p, 0, 0, 100); },
            Px(12, 200, 77), Px(255, 255, 255) },
        DocumentedValue { "sepia of mid-grey", ToSepia, Px(128, 128, 128), Px(160, 134, 96) },
        DocumentedValue { "brightness limits", [](std::uint32_t p) { return AdjustBrightness(p, 100); },
            Px(200, 10, 155), Px(255, 110, 255) }));

TEST(ColourOperations, MatchTheReferenceOnRandomPixelsAndSettings)
{
    std::mt19937 random(5);
    std::uniform_int_distribution<int> setting(-100, 100), hue(-180, 180), wild(-100000, 100000);
    for (int i = 0; i < 200000; ++i) {
        const std::uint32_t p = std::uint32_t(random());
        const int v = i % 10 == 0 ? wild(random) : setting(random);
        const int h = i % 10 == 1 ? wild(random) : hue(random);
        const int s2 = setting(random), s3 = setting(random), pivot = setting(random) + 128;
        ASSERT_EQ(ToGreyscale(p), reference::Grey(p)) << p;
        ASSERT_EQ(ToSepia(p), reference::Sepia(p)) << p;
        ASSERT_EQ(AdjustBrightness(p, v), reference::Brightness(p, v)) << p;
        ASSERT_EQ(AdjustContrast(p, v, pivot), reference::Contrast(p, v, pivot)) << p;
        ASSERT_EQ(BalanceColours(p, v, s2, s3), reference::Balance(p, v, s2, s3)) << p;
        ASSERT_EQ(AdjustSaturation(p, v), reference::Saturation(p, v)) << p << " " << v;
        ASSERT_EQ(AdjustHsl(p, h, s2, s3), reference::HslShift(p, h, s2, s3)) << p << " " << h;
    }
}

TEST(ColourOperations, HslRoundTripOfEveryGreyAndPrimary)
{
    for (int c = 0; c < 256; ++c) {
        for (const std::uint32_t p : { Px(c, c, c), Px(c, 0, 0), Px(0, c, 0), Px(0, 0, c) }) {
            const Hsl hsl = RgbToHsl(p);
            EXPECT_EQ(HslToRgb(hsl.l, hsl.s, hsl.h), p) << std::hex << p;
        }
    }
}

TEST(AverageGrey, DividesByFourWidthsLessOneAndRowsLessOne)
{
    QImage level200(100, 100, QImage::Format_ARGB32);
    level200.fill(Px(200, 200, 200));
    EXPECT_EQ(AverageGrey(level200), 151); // 60000 div 399 = 150 per row; 15000 div 99

    QImage oneRow(10, 1, QImage::Format_ARGB32);
    oneRow.fill(Px(30, 60, 90));
    EXPECT_EQ(AverageGrey(oneRow), 1800 / 39);
    EXPECT_EQ(AverageGrey(QImage()), 0);
}

struct PassCase {
    const char* what;
    Corrections record;
};

class WholePicturePass : public testing::TestWithParam<PassCase> { };

// Every 24-bit colour through the fast pass, compared with the one-pixel reference.
TEST_P(WholePicturePass, EqualsTheDefinitionsForEveryColour)
{
    const QImage before = AllColours();
    QImage after = before.copy();
    const Corrections& record = GetParam().record;
    ASSERT_TRUE(ApplyCorrections(after, record, false));
    const int pivot = record.contr != 0 ? AverageGrey(before) : 0;
    EXPECT_EQ(CountMismatches(before, after, record, pivot), 0) << GetParam().what;
}

INSTANTIATE_TEST_SUITE_P(Colour, WholePicturePass,
    testing::Values(PassCase { "grey", Record({}, true) },
        PassCase { "saturation +100", Record({ { &Corrections::sat, 100 } }) },
        PassCase { "saturation -37 after brightness and balance",
            Record({ { &Corrections::sat, -37 }, { &Corrections::inten, 12 }, { &Corrections::balg, -55 } }) },
        PassCase { "hue only", Record({ { &Corrections::hue1, 123 } }) },
        PassCase { "hue, saturation and lightness shifts",
            Record({ { &Corrections::hue1, -71 }, { &Corrections::hue2, 37 }, { &Corrections::hue3, -12 } }) },
        PassCase { "all nine settings",
            Record({ { &Corrections::sat, 40 }, { &Corrections::inten, -15 }, { &Corrections::contr, 25 },
                { &Corrections::balr, 30 }, { &Corrections::balg, -20 }, { &Corrections::balb, 10 },
                { &Corrections::hue1, 15 }, { &Corrections::hue2, -10 }, { &Corrections::hue3, 5 } }) },
        PassCase { "sepia and all nine",
            Record({ { &Corrections::sat, 35 }, { &Corrections::inten, -20 }, { &Corrections::contr, 25 },
                       { &Corrections::balr, -30 }, { &Corrections::balg, 15 }, { &Corrections::balb, 40 },
                       { &Corrections::hue1, 60 }, { &Corrections::hue2, -20 }, { &Corrections::hue3, 10 } },
                false, true) },
        PassCase { "sepia, grey and all nine",
            Record({ { &Corrections::sat, -60 }, { &Corrections::inten, 8 }, { &Corrections::contr, -45 },
                       { &Corrections::balr, -30 }, { &Corrections::balg, 20 }, { &Corrections::balb, -10 },
                       { &Corrections::hue1, 180 }, { &Corrections::hue2, 50 }, { &Corrections::hue3, -5 } },
                true, true) }));

TEST(WholePicturePass, EqualsTheDefinitionsForRandomAndOutOfRangeSettings)
{
    std::mt19937 random(11);
    std::uniform_int_distribution<int> setting(-100, 100), hue(-180, 180), coin(0, 3), wild(-5000, 5000);
    const QImage before = RandomPicture(640, 480, 3);
    for (int round = 0; round < 40; ++round) {
        Corrections record = Record(
            { { &Corrections::sat, setting(random) }, { &Corrections::contr, coin(random) ? setting(random) : 0 },
                { &Corrections::balb, setting(random) },
                { &Corrections::hue1, round % 8 == 7 ? wild(random) : hue(random) },
                { &Corrections::hue2, coin(random) ? setting(random) : 0 },
                { &Corrections::hue3, round % 8 == 6 ? wild(random) : setting(random) } },
            coin(random) == 0, coin(random) == 0);
        if (round % 10 == 9)
            record.sat = wild(random);
        QImage after = before.copy();
        ApplyCorrections(after, record, false);
        const int pivot = record.contr != 0 ? AverageGrey(before) : 0;
        ASSERT_EQ(CountMismatches(before, after, record, pivot), 0) << "round " << round;
    }
}

TEST(WholePicturePass, ParallelRowsEqualOneRowAtATimeOnARealPhoto)
{
    const QImage photo = As32BitPicture(QImage(TestDataPath("photo_board.jpg")));
    ASSERT_FALSE(photo.isNull());
    const Corrections record = Record({ { &Corrections::sat, 25 }, { &Corrections::contr, 30 },
        { &Corrections::inten, -10 }, { &Corrections::balr, 15 }, { &Corrections::hue1, 20 },
        { &Corrections::hue2, 10 }, { &Corrections::hue3, 3 } });
    QImage parallel = photo.copy();
    ApplyCorrections(parallel, record, false);

    const int pivot = AverageGrey(photo);
    const TColourPass pass(record, pivot, 1); // no tables: the plain definitions, row by row
    QImage serial = photo.copy();
    for (int y = 0; y < serial.height(); ++y)
        pass.ApplyRow(reinterpret_cast<std::uint32_t*>(serial.scanLine(y)), serial.width());
    EXPECT_EQ(parallel, serial);
    EXPECT_EQ(CountMismatches(photo, parallel, record, pivot), 0);
}

TEST(ApplyCorrections, NeutralRecordLeavesThePictureAlone)
{
    const QImage before = RandomPicture(33, 17, 1);
    Corrections neutral;
    InitCorrections(neutral);
    for (const bool geometry : { false, true }) {
        QImage picture = before.copy();
        EXPECT_TRUE(ApplyCorrections(picture, neutral, geometry));
        EXPECT_EQ(picture, before);
    }
}

TEST(ApplyCorrections, TurnsAndCropsBeforeTheColoursAndTakesThePivotAfterwards)
{
    QImage picture(4, 2, QImage::Format_ARGB32);
    picture.fill(Px(10, 10, 10));
    reinterpret_cast<std::uint32_t*>(picture.scanLine(0))[0] = Px(250, 250, 250);
    Corrections record = Record({ { &Corrections::contr, -100 } });
    record.rotation = 1; // 2 x 4, the bright pixel at the top right
    record.crop = { 0.5f, 0.0f, 0.5f, 0.5f, 1.0f, 0.5f }; // the right column, top two rows
    ASSERT_TRUE(ApplyCorrections(picture, record, true));
    ASSERT_EQ(picture.size(), QSize(1, 2));
    // pivot: row shares 750 div 3 = 250 and 30 div 3 = 10, (250 + 10) div 1 = 260; -100 pulls to it
    const int pivot = 260;
    EXPECT_EQ(reinterpret_cast<const std::uint32_t*>(picture.constScanLine(0))[0],
        reference::Contrast(Px(250, 250, 250), -100, pivot));
    EXPECT_EQ(reinterpret_cast<const std::uint32_t*>(picture.constScanLine(1))[0],
        reference::Contrast(Px(10, 10, 10), -100, pivot));
}

TEST(ApplyCorrections, FailsWhenTheCropLeavesNothing)
{
    QImage picture = RandomPicture(8, 8, 2);
    Corrections record = Record({});
    record.crop = { 0.5f, 0.5f, 0.0f, 0.0f, 0.5f, 0.5f };
    EXPECT_FALSE(ApplyCorrections(picture, record, true));
}
