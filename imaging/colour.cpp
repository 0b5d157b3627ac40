#include "imaging/colour.h"

#include "imaging/colourparts.h"
#include "imaging/colourpass.h"
#include "imaging/parallelrows.h"
#include "imaging/picture.h"
#include "imaging/pixel.h"
#include "imaging/rounding.h"

#include <algorithm>
#include <atomic>
#include <cstring>

// Every expression below is written as the program has always evaluated it: operands are
// widened to long double (the x87 extended type on x86-64) and each float variable rounds the
// value it receives.

namespace {

using Ext = long double;

constexpr Ext kThird = 1.0L / 3;
constexpr Ext kTwoThirds = 2.0L / 3;

int RoundToByte(Ext value)
{
    return ClampByte(RoundToInt32(value));
}

int BrightenChannel(int c, int v)
{
    return ClampByte(std::int64_t(c) + v);
}

int ContrastChannel(int c, int v, int p)
{
    std::int64_t result = c;
    if (v > 0)
        result = c + std::int64_t(v) * (c - 127) / 100;
    else if (v < 0 && c < p)
        result = c + -std::int64_t(v) * (std::int64_t(p) - c) / 100;
    else if (v < 0 && c > p)
        result = c - -std::int64_t(v) * (std::int64_t(c) - p) / 100;
    return ClampByte(result);
}

int BalanceChannel(int c, int k)
{
    if (k == 0)
        return c;
    const std::int64_t weight = c <= 128 ? c : 255 - c;
    return ClampByte(c - weight * k / 128);
}

} // namespace

SaturationFactors SaturationFactorsOf(int v)
{
    const float d = float(-(Ext(v) / 100) * 0.33L);
    return { float(1 - 2 * Ext(d)), d };
}

float ChannelFraction(int c)
{
    return float(Ext(c) / 255);
}

HslMix MixOf(float l, float s)
{
    const float m2 = l <= 0.5f ? float(Ext(l) * (1 + Ext(s))) : float(Ext(l) + s - Ext(l) * s);
    return { float(2 * Ext(l) - m2), m2 };
}

int HueToChannel(float x, float m1, float m2)
{
    if (x < 0)
        x = float(Ext(x) + 1);
    if (x > 1)
        x = float(Ext(x) - 1);
    if (6 * Ext(x) < 1)
        return RoundToByte((m1 + (Ext(m2) - m1) * x * 6) * 255);
    if (2 * Ext(x) < 1)
        return RoundToByte(Ext(m2) * 255);
    if (3 * Ext(x) < 2)
        return RoundToByte((m1 + (Ext(m2) - m1) * (kTwoThirds - x) * 6) * 255);
    return RoundToByte(Ext(m1) * 255);
}

Hsl ShiftHsl(Hsl colour, int hue, int sat, int light)
{
    float h = float(Ext(colour.h) + hue);
    const float s = float(Ext(colour.s) + Ext(sat) / 100);
    const float l = float(Ext(colour.l) + Ext(light) / 100);
    if (h < 0)
        h = float(Ext(h) + 360);
    if (h > 360)
        h = float(Ext(h) - 360);
    return { h, std::clamp(s, 0.0f, 1.0f), std::clamp(l, 0.0f, 1.0f) };
}

void InitCorrections(Corrections& record)
{
    std::memset(&record, 0, sizeof record);
    record.crop.left = kNoCrop;
}

bool HasNoColourChange(const Corrections& record)
{
    return record.contr == 0 && record.inten == 0 && record.sat == 0 && record.balr == 0 && record.balg == 0
        && record.balb == 0 && record.hue1 == 0 && record.hue2 == 0 && record.hue3 == 0 && record.blackWhite == 0
        && record.sepia == 0;
}

std::uint32_t ToGreyscale(std::uint32_t pixel)
{
    const int grey = RoundToByte(0.3L * Red(pixel) + 0.59L * Green(pixel) + 0.11L * Blue(pixel));
    return WithRgb(pixel, grey, grey, grey);
}

std::uint32_t ToSepia(std::uint32_t pixel)
{
    return WithRgbOf(pixel, HslToRgb(RgbToHsl(pixel).l, 0.25f, 36.0f));
}

std::uint32_t AdjustBrightness(std::uint32_t pixel, int v)
{
    return WithRgb(
        pixel, BrightenChannel(Red(pixel), v), BrightenChannel(Green(pixel), v), BrightenChannel(Blue(pixel), v));
}

std::uint32_t AdjustContrast(std::uint32_t pixel, int v, int p)
{
    return WithRgb(pixel, ContrastChannel(Red(pixel), v, p), ContrastChannel(Green(pixel), v, p),
        ContrastChannel(Blue(pixel), v, p));
}

std::uint32_t BalanceColours(std::uint32_t pixel, int r, int g, int b)
{
    return WithRgb(
        pixel, BalanceChannel(Red(pixel), r), BalanceChannel(Green(pixel), g), BalanceChannel(Blue(pixel), b));
}

std::uint32_t AdjustSaturation(std::uint32_t pixel, int v)
{
    const auto [e, d] = SaturationFactorsOf(v);
    const int r = Red(pixel), g = Green(pixel), b = Blue(pixel);
    const float re = float(Ext(r) * e), rd = float(Ext(r) * d);
    const float ge = float(Ext(g) * e), gd = float(Ext(g) * d);
    const float be = float(Ext(b) * e), bd = float(Ext(b) * d);
    return WithRgb(
        pixel, RoundToByte(Ext(re) + gd + bd), RoundToByte(Ext(rd) + ge + bd), RoundToByte(Ext(rd) + gd + be));
}

std::uint32_t AdjustHsl(std::uint32_t pixel, int hue, int sat, int light)
{
    const Hsl shifted = ShiftHsl(RgbToHsl(pixel), hue, sat, light);
    return WithRgbOf(pixel, HslToRgb(shifted.l, shifted.s, shifted.h));
}

Hsl RgbToHsl(std::uint32_t pixel)
{
    const float r = ChannelFraction(Red(pixel));
    const float g = ChannelFraction(Green(pixel));
    const float b = ChannelFraction(Blue(pixel));
    const float max = std::max(r, std::max(g, b));
    const float min = std::min(r, std::min(g, b));
    Hsl result { 0.0f, 0.0f, float((Ext(max) + min) / 2) };
    if (max == min)
        return result;
    const float d = float(Ext(max) - min);
    result.s = result.l < 0.5f ? float(d / (Ext(max) + min)) : float(d / (2 - Ext(max) - min));
    float h;
    if (r == max)
        h = float((Ext(g) - b) / d);
    else if (g == max)
        h = float(2 + (Ext(b) - r) / d);
    else
        h = float(4 + (Ext(r) - g) / d);
    h = float(Ext(h) * 60);
    if (h < 0)
        h = float(Ext(h) + 360);
    result.h = h;
    return result;
}

std::uint32_t HslToRgb(float l, float s, float h)
{
    if (s == 0) {
        const int v = RoundToByte(Ext(l) * 255);
        return OpaquePixel(v, v, v);
    }
    const float hue = float(Ext(h) / 360);
    const auto [m1, m2] = MixOf(l, s);
    return OpaquePixel(HueToChannel(float(Ext(hue) + kThird), m1, m2), HueToChannel(hue, m1, m2),
        HueToChannel(float(Ext(hue) - kThird), m1, m2));
}

int AverageGrey(const QImage& source)
{
    const QImage picture = As32BitPicture(source);
    const PixelRows<const std::uint32_t> rows = ReadableRows(picture);
    if (rows.width <= 0 || rows.height <= 0)
        return 0;
    const std::uint64_t divisor = 4 * std::uint64_t(rows.width) - 1;
    std::atomic<std::int64_t> shares { 0 };
    ParallelRows(rows.height, rows.width, [&](int firstRow, int endRow) {
        std::int64_t bandShares = 0;
        for (int y = firstRow; y < endRow; ++y) {
            const std::uint32_t* row = rows[y];
            std::uint64_t rowSum = 0;
            for (int x = 0; x < rows.width; ++x)
                rowSum += std::uint64_t(Red(row[x])) + Green(row[x]) + Blue(row[x]);
            bandShares += std::int64_t(rowSum / divisor);
        }
        shares += bandShares;
    });
    return int(shares / std::max(rows.height - 1, 1));
}

bool ApplyCorrections(QImage& picture, const Corrections& record, bool applyGeometry)
{
    if (picture.isNull())
        return true;
    if (picture.format() != QImage::Format_ARGB32)
        picture = As32BitPicture(picture);
    if (applyGeometry) {
        if (!RotateQuarter(picture, record.rotation))
            return false;
        if (record.crop.left > kNoCrop && !CropByFractions(picture, record.crop))
            return false;
    }
    if (HasNoColourChange(record))
        return true;
    const int pivot = record.contr != 0 ? AverageGrey(picture) : 0;
    ApplyColourPass(picture, TColourPass(record, pivot, std::int64_t(picture.width()) * picture.height()));
    return true;
}
