#include "imaging/colourpass.h"

#include "imaging/colourparts.h"
#include "imaging/parallelrows.h"
#include "imaging/picture.h"
#include "imaging/pixel.h"

#include <algorithm>
#include <cmath>

namespace {

// From this many pixels on, the (max, min) tables (about 33,000 entries, each computed with
// the definitions) cost less than they save.
constexpr std::int64_t kTableJob = 128 * 1024;
// Saturation settings whose float products sum exactly in double (see SaturationStage).
constexpr int kFastSaturationLimit = 1000;
// Hue shifts for which hue + shift is exact in double (the hue has no bits below 2^-26).
constexpr int kFastHueLimit = 1 << 20;

constexpr double kThird = 1.0 / 3;
constexpr double kTwoThirds = 2.0 / 3;

int MaxChannel(std::uint32_t pixel)
{
    return std::max(Red(pixel), std::max(Green(pixel), Blue(pixel)));
}

int MinChannel(std::uint32_t pixel)
{
    return std::min(Red(pixel), std::min(Green(pixel), Blue(pixel)));
}

int MaxMinIndex(std::uint32_t pixel)
{
    return MaxChannel(pixel) << 8 | MinChannel(pixel);
}

// Nearest integer, ties to even, for |value| < 2^51 (adding 1.5 * 2^52 leaves no fraction bits).
double RoundHalfEven(double value)
{
    constexpr double shift = 0x1.8p52;
    return (value + shift) - shift;
}

// The grey of ToGreyscale. 30R + 59G + 11B is 100 times the decimal value; unless it ends in
// 50 the value lies at least 0.01 from a tie, far beyond any rounding error of the
// extended-precision sum, so integer arithmetic decides. Exact decimal ties (1 in 100 pixels)
// are decided by the definition itself.
int GreyOf(std::uint32_t pixel)
{
    const int hundredths = 30 * Red(pixel) + 59 * Green(pixel) + 11 * Blue(pixel);
    const int remainder = hundredths % 100;
    if (remainder == 50)
        return Blue(ToGreyscale(pixel));
    return hundredths / 100 + (remainder > 50 ? 1 : 0);
}

// Saturation in float and double. Each product c * e, c * d of an 8-bit channel and a float
// is exact in extended precision, so the definition's float product is the correctly rounded
// float product. For |v| <= 1000 the nonzero products lie within a factor 2^19 of each other,
// so each sum of three needs fewer than 53 bits: double adds them exactly, as extended
// precision does, and both round the same exact value.
void SaturationStage(std::uint32_t* pixels, int count, float e, float d)
{
    for (int i = 0; i < count; ++i) {
        const std::uint32_t pixel = pixels[i];
        const float r = float(Red(pixel)), g = float(Green(pixel)), b = float(Blue(pixel));
        const double re = r * e, rd = r * d, ge = g * e, gd = g * d, be = b * e, bd = b * d;
        const double red = std::clamp(RoundHalfEven(re + gd + bd), 0.0, 255.0);
        const double green = std::clamp(RoundHalfEven(rd + ge + bd), 0.0, 255.0);
        const double blue = std::clamp(RoundHalfEven(rd + gd + be), 0.0, 255.0);
        pixels[i] = Alpha(pixel) | std::uint32_t(red) << 16 | std::uint32_t(green) << 8 | std::uint32_t(blue);
    }
}

// float(value) where value approximates (within slack) a quantity the definition rounds to
// float from extended precision. False when the float is not decided by the approximation.
bool DecidedFloat(double value, double slack, float& result)
{
    const float low = float(value - slack);
    if (float(value + slack) != low)
        return false;
    result = low;
    return true;
}

}  // namespace

// Per-(max, min) parts of AdjustHsl: the shifted lightness and saturation depend only on the
// largest and smallest channel, and so do the mixing levels m1, m2 derived from them.
struct TColourPass::HslTables {
    struct Entry {
        float m1;
        float m2;
        int grey;  // >= 0 when the shifted saturation is 0: the pixel becomes this grey
    };
    std::unique_ptr<Entry[]> entries{new Entry[65536]};
    float fraction[256];
    int hue;

    HslTables(int hueShift, int sat, int light) : hue(hueShift)
    {
        for (int c = 0; c < 256; ++c)
            fraction[c] = ChannelFraction(c);
        for (int max = 0; max < 256; ++max) {
            for (int min = 0; min <= max; ++min) {
                const Hsl shifted = ShiftHsl(RgbToHsl(OpaquePixel(max, min, min)), 0, sat, light);
                Entry& entry = entries[std::size_t(max << 8 | min)];
                entry.grey = shifted.s == 0 ? Blue(HslToRgb(shifted.l, 0.0f, 0.0f)) : -1;
                const HslMix mix = shifted.s == 0 ? HslMix{0, 0} : MixOf(shifted.l, shifted.s);
                entry.m1 = mix.m1;
                entry.m2 = mix.m2;
            }
        }
    }

    // The hue of RgbToHsl, in double; false when double cannot decide one of its floats.
    bool HueOf(std::uint32_t pixel, int max, int min, float& hue) const
    {
        hue = 0;
        if (max == min)
            return true;
        const double r = fraction[Red(pixel)], g = fraction[Green(pixel)], b = fraction[Blue(pixel)];
        const double d = float(double(fraction[max]) - fraction[min]);  // exact difference, one rounding
        double quotient, sextant;
        if (Red(pixel) == max) {
            quotient = (g - b) / d;
            sextant = 0;
        } else if (Green(pixel) == max) {
            quotient = (b - r) / d;
            sextant = 2;
        } else {
            quotient = (r - g) / d;
            sextant = 4;
        }
        const double value = sextant + quotient;
        float h;
        if (!DecidedFloat(value, (std::abs(quotient) + std::abs(value)) * 0x1p-50, h))
            return false;
        hue = float(double(h) * 60);  // the product is exact in double: one rounding as in the definition
        if (hue < 0)
            hue = float(double(hue) + 360);
        return true;
    }

    // One channel of HslToRgb for a hue x in turns; false when x or the rounding is undecided.
    static bool Channel(float x, float m1, float m2, int& channel)
    {
        // x is never within 2^-28 of 0 or 1 unless it is 0 or 1, so x +- 1 is exact in double.
        if (x < 0)
            x = float(double(x) + 1);
        if (x > 1)
            x = float(double(x) - 1);
        double value;
        bool exact = false;
        if (6.0 * x < 1) {
            value = (m1 + (double(m2) - m1) * x * 6) * 255;
        } else if (2.0 * x < 1) {
            value = double(m2) * 255;
            exact = true;
        } else if (3.0 * x < 2) {
            value = (m1 + (double(m2) - m1) * (kTwoThirds - x) * 6) * 255;
        } else {
            value = double(m1) * 255;
            exact = true;
        }
        const double rounded = RoundHalfEven(value);
        // Both this and the extended-precision value lie within 1e-12 of the exact one.
        if (!exact && std::abs(std::abs(value - rounded) - 0.5) < 1e-7)
            return false;
        channel = ClampByte(std::int64_t(rounded));
        return true;
    }

    bool Adjust(std::uint32_t& pixel) const
    {
        const int max = MaxChannel(pixel), min = MinChannel(pixel);
        const Entry& entry = entries[std::size_t(max << 8 | min)];
        float h;
        if (!HueOf(pixel, max, min, h))
            return false;
        h = float(double(h) + hue);  // as ShiftHsl: exact sum, one rounding
        if (h < 0)
            h = float(double(h) + 360);
        if (h > 360)
            h = float(double(h) - 360);
        if (entry.grey >= 0) {
            pixel = WithRgb(pixel, entry.grey, entry.grey, entry.grey);
            return true;
        }
        const float turns = h / 360.0f;  // a float quotient of floats: correctly rounded either way
        float redTurns, blueTurns;
        const double slack = (std::abs(double(turns)) + 1) * 0x1p-50;
        if (!DecidedFloat(turns + kThird, slack, redTurns) || !DecidedFloat(turns - kThird, slack, blueTurns))
            return false;
        int red, green, blue;
        if (!Channel(redTurns, entry.m1, entry.m2, red) || !Channel(turns, entry.m1, entry.m2, green)
            || !Channel(blueTurns, entry.m1, entry.m2, blue))
            return false;
        pixel = WithRgb(pixel, red, green, blue);
        return true;
    }
};

TColourPass::TColourPass(const Corrections& record, int pivot, std::int64_t pixelsToProcess)
    : record_(record)
{
    grey_ = record.blackWhite != 0;
    sepia_ = record.sepia != 0;
    channels_ = record.inten != 0 || record.contr != 0 || record.balr != 0 || record.balg != 0 || record.balb != 0;
    saturation_ = record.sat != 0;
    hsl_ = record.hue1 != 0 || record.hue2 != 0 || record.hue3 != 0;

    for (int c = 0; c < 256; ++c) {
        std::uint32_t pixel = OpaquePixel(c, c, c);
        if (record.inten != 0)
            pixel = AdjustBrightness(pixel, record.inten);
        if (record.contr != 0)
            pixel = AdjustContrast(pixel, record.contr, pivot);
        if (record.balr != 0 || record.balg != 0 || record.balb != 0)
            pixel = BalanceColours(pixel, record.balr, record.balg, record.balb);
        redTable_[std::size_t(c)] = std::uint8_t(Red(pixel));
        greenTable_[std::size_t(c)] = std::uint8_t(Green(pixel));
        blueTable_[std::size_t(c)] = std::uint8_t(Blue(pixel));
    }
    const SaturationFactors factors = SaturationFactorsOf(record.sat);
    saturationE_ = factors.e;
    saturationD_ = factors.d;

    if (pixelsToProcess < kTableJob)
        return;
    if (sepia_) {
        // Sepia leaves a colour that depends only on (max, min); so does everything after it.
        sepiaChain_.reset(new std::uint32_t[65536]);
        for (int max = 0; max < 256; ++max)
            for (int min = 0; min <= max; ++min)
                sepiaChain_[std::size_t(max << 8 | min)] = ChainAfterSepia(OpaquePixel(max, min, min));
    } else if (hsl_ && std::abs(record.hue1) <= kFastHueLimit) {
        hslTables_ = std::make_unique<HslTables>(record.hue1, record.hue2, record.hue3);
    }
}

TColourPass::~TColourPass() = default;

std::uint32_t TColourPass::ChainAfterSepia(std::uint32_t pixel) const
{
    pixel = ToSepia(pixel);
    if (channels_)
        pixel = WithRgb(pixel, redTable_[std::size_t(Red(pixel))], greenTable_[std::size_t(Green(pixel))],
                        blueTable_[std::size_t(Blue(pixel))]);
    if (saturation_)
        pixel = AdjustSaturation(pixel, record_.sat);
    if (hsl_)
        pixel = AdjustHsl(pixel, record_.hue1, record_.hue2, record_.hue3);
    return pixel;
}

void TColourPass::ApplyAfterSepia(std::uint32_t* pixels, int count) const
{
    if (sepiaChain_) {
        for (int i = 0; i < count; ++i)
            pixels[i] = WithRgbOf(pixels[i], sepiaChain_[std::size_t(MaxMinIndex(pixels[i]))]);
    } else {
        for (int i = 0; i < count; ++i)
            pixels[i] = ChainAfterSepia(pixels[i]);
    }
}

void TColourPass::ApplyRow(std::uint32_t* pixels, int count) const
{
    if (grey_) {
        for (int i = 0; i < count; ++i) {
            const int grey = GreyOf(pixels[i]);
            pixels[i] = WithRgb(pixels[i], grey, grey, grey);
        }
    }
    if (sepia_) {
        ApplyAfterSepia(pixels, count);
        return;
    }
    if (channels_) {
        for (int i = 0; i < count; ++i) {
            const std::uint32_t pixel = pixels[i];
            pixels[i] = WithRgb(pixel, redTable_[std::size_t(Red(pixel))], greenTable_[std::size_t(Green(pixel))],
                                blueTable_[std::size_t(Blue(pixel))]);
        }
    }
    if (saturation_) {
        if (std::abs(record_.sat) <= kFastSaturationLimit) {
            SaturationStage(pixels, count, saturationE_, saturationD_);
        } else {
            for (int i = 0; i < count; ++i)
                pixels[i] = AdjustSaturation(pixels[i], record_.sat);
        }
    }
    if (hsl_) {
        for (int i = 0; i < count; ++i) {
            if (!hslTables_ || !hslTables_->Adjust(pixels[i]))
                pixels[i] = AdjustHsl(pixels[i], record_.hue1, record_.hue2, record_.hue3);
        }
    }
}

void ApplyColourPass(QImage& picture, const TColourPass& pass)
{
    const PixelRows<std::uint32_t> rows = WritableRows(picture);
    ParallelRows(rows.height, rows.width, [&](int firstRow, int endRow) {
        for (int y = firstRow; y < endRow; ++y)
            pass.ApplyRow(rows[y], rows.width);
    });
}
