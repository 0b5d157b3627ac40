#include "imaging/colourkernels.h"

#include <cmath>

// Each kernel exists twice: for the x86-64 baseline and for x86-64-v3 (AVX2), picked when the
// program loads. Floating-point contraction is off for this file (see CMakeLists), so the FMA
// instructions of x86-64-v3 never fuse a rounding away.
#define VENDARO_SIMD_KERNEL __attribute__((target_clones("arch=x86-64-v3", "default")))

namespace {

// Nearest integer, ties to even, for |value| < 2^51: adding 1.5 * 2^52 leaves no fraction bits.
inline double RoundHalfEven(double value)
{
    constexpr double shift = 0x1.8p52;
    return (value + shift) - shift;
}

inline double Clamp255(double value)
{
    return value < 0.0 ? 0.0 : value > 255.0 ? 255.0 : value;
}

// float(value) when every value within slack of it rounds to the same float; the flag is set
// otherwise. The definition's extended-precision value lies within slack of `value`.
inline float DecidedFloat(double value, double slack, bool& undecided)
{
    const float low = float(value - slack);
    undecided |= float(value + slack) != low;
    return low;
}

// One channel of HslToRgb for the hue x (in turns, as a float). The branches of the definition
// become selects; the two interpolations are rounded from double, whose value and the
// extended-precision one both lie within 1e-12 of the exact value, so only a value within
// 1e-7 of a tie is left undecided. m2 * 255 and m1 * 255 are exact in double.
inline double HueChannel(float x, double m1, double m2, bool& undecided)
{
    // x lies at least 2^-28 from 0 and 1 unless it equals them, so x +- 1 is exact in double.
    x = x < 0.0f ? float(double(x) + 1.0) : x;
    x = x > 1.0f ? float(double(x) - 1.0) : x;
    const double dx = x;
    const bool rising = 6.0 * dx < 1.0, plateau = 2.0 * dx < 1.0, falling = 3.0 * dx < 2.0;
    const double rise = (m1 + (m2 - m1) * dx * 6.0) * 255.0;
    const double fall = (m1 + (m2 - m1) * (2.0 / 3.0 - dx) * 6.0) * 255.0;
    const double value = rising ? rise : plateau ? m2 * 255.0 : falling ? fall : m1 * 255.0;
    const double rounded = RoundHalfEven(value);
    const bool interpolated = rising | (!plateau & falling);
    undecided |= interpolated & (std::fabs(std::fabs(value - rounded) - 0.5) < 1e-7);
    return Clamp255(rounded);
}

} // namespace

VENDARO_SIMD_KERNEL
void GreyKernel(
    const std::uint32_t* __restrict in, std::uint32_t* __restrict out, std::uint8_t* __restrict undecided, int count)
{
    // 30R + 59G + 11B is 100 times the decimal value 0.3R + 0.59G + 0.11B. Unless it ends in 50
    // the value lies at least 0.01 from a tie, far beyond any error of the extended-precision
    // sum, so integer arithmetic rounds it as the definition does.
    for (int i = 0; i < count; ++i) {
        const std::uint32_t p = in[i];
        const std::uint32_t hundredths = 30 * (p >> 16 & 255) + 59 * (p >> 8 & 255) + 11 * (p & 255);
        const std::uint32_t whole = hundredths / 100, remainder = hundredths - 100 * whole;
        const std::uint32_t grey = whole + (remainder > 50 ? 1 : 0);
        undecided[i] = remainder == 50;
        out[i] = (p & 0xFF000000u) | grey * 0x010101u;
    }
}

VENDARO_SIMD_KERNEL
void SaturationKernel(std::uint32_t* pixels, int count, float e, float d)
{
    // Each product of an 8-bit channel and a float is exact in extended precision, so the
    // definition's float product is the correctly rounded float product computed here. For
    // |v| <= 1000 the nonzero products lie within a factor 2^19 of each other, so each sum of
    // three needs fewer than 53 bits: double adds them exactly, as extended precision does, and
    // both round the same exact value.
    for (int i = 0; i < count; ++i) {
        const std::uint32_t p = pixels[i];
        const float r = float(p >> 16 & 255), g = float(p >> 8 & 255), b = float(p & 255);
        const double re = r * e, rd = r * d, ge = g * e, gd = g * d, be = b * e, bd = b * d;
        const double red = Clamp255(RoundHalfEven(re + gd + bd));
        const double green = Clamp255(RoundHalfEven(rd + ge + bd));
        const double blue = Clamp255(RoundHalfEven(rd + gd + be));
        pixels[i] = (p & 0xFF000000u) | std::uint32_t(red) << 16 | std::uint32_t(green) << 8 | std::uint32_t(blue);
    }
}

VENDARO_SIMD_KERNEL
void HslKernel(const std::uint32_t* __restrict in, std::uint32_t* __restrict out, std::uint8_t* __restrict undecided,
    int count, const HslKernelTables& tables)
{
    const double hueShift = tables.hueShift;
    const float* __restrict m1Table = tables.m1;
    const float* __restrict m2Table = tables.m2;
    const std::int32_t* __restrict greyTable = tables.grey;
    for (int i = 0; i < count; ++i) {
        const std::uint32_t p = in[i];
        const int red = int(p >> 16 & 255), green = int(p >> 8 & 255), blue = int(p & 255);
        const int max = red > green ? (red > blue ? red : blue) : (green > blue ? green : blue);
        const int min = red < green ? (red < blue ? red : blue) : (green < blue ? green : blue);
        const int index = max << 8 | min;
        bool doubt = false;

        // The hue of RgbToHsl. c / 255 as a float quotient is correctly rounded, as is the
        // definition's extended quotient stored to float; so is max - min of two floats.
        const float r = float(red) / 255.0f, g = float(green) / 255.0f, b = float(blue) / 255.0f;
        const float maxf = float(max) / 255.0f, minf = float(min) / 255.0f;
        const double spread = double(maxf - minf);
        const bool redMax = red == max, greenMax = !redMax & (green == max), grey = max == min;
        const double numerator = redMax ? double(g) - b : greenMax ? double(b) - r : double(r) - g;
        const double sextant = redMax ? 0.0 : greenMax ? 2.0 : 4.0;
        const double quotient = numerator / (grey ? 1.0 : spread);
        const double sum = sextant + quotient;
        bool hueDoubt = false;
        const float turnsOfSix = DecidedFloat(sum, (std::fabs(quotient) + std::fabs(sum)) * 0x1p-50, hueDoubt);
        doubt |= hueDoubt & !grey;
        float hue = float(double(turnsOfSix) * 60.0); // exact product, one rounding
        hue = hue < 0.0f ? float(double(hue) + 360.0) : hue;
        hue = grey ? 0.0f : hue;

        // ShiftHsl's hue: the hue has no bits below 2^-26 and |shift| <= 2^20, so the sums
        // are exact in double and round once, as in extended precision.
        float shifted = float(double(hue) + hueShift);
        shifted = shifted < 0.0f ? float(double(shifted) + 360.0) : shifted;
        shifted = shifted > 360.0f ? float(double(shifted) - 360.0) : shifted;

        // HslToRgb: turns = H / 360 is a float quotient of floats (correctly rounded either
        // way); the shifts by a third are decided from double within their error.
        const float turns = shifted / 360.0f;
        const double slack = (std::fabs(double(turns)) + 1.0) * 0x1p-50;
        const float redTurns = DecidedFloat(double(turns) + 1.0 / 3.0, slack, doubt);
        const float blueTurns = DecidedFloat(double(turns) - 1.0 / 3.0, slack, doubt);
        const double m1 = m1Table[index], m2 = m2Table[index];
        bool channelDoubt = false;
        const double outRed = HueChannel(redTurns, m1, m2, channelDoubt);
        const double outGreen = HueChannel(turns, m1, m2, channelDoubt);
        const double outBlue = HueChannel(blueTurns, m1, m2, channelDoubt);
        const std::int32_t greyValue = greyTable[index];
        const bool flat = greyValue >= 0;
        const std::uint32_t rgb = std::uint32_t(outRed) << 16 | std::uint32_t(outGreen) << 8 | std::uint32_t(outBlue);
        out[i] = (p & 0xFF000000u) | (flat ? std::uint32_t(greyValue) * 0x010101u : rgb);
        undecided[i] = (doubt | channelDoubt) & !flat;
    }
}
