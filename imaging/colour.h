#pragma once
// The colour-corrections engine: the per-photo Corrections record, the pixel operations and
// ApplyCorrections, which runs geometry and then the colour operations over a whole picture.
//
// Pixels are 32-bit values A << 24 | R << 16 | G << 8 | B; every operation keeps A and works on
// R, G and B. The operations are defined on one pixel at a time, exactly as the program has
// always computed them (x87 arithmetic): every expression is evaluated in extended precision
// (long double), every value the definitions keep as a 32-bit float is rounded to float where
// it is stored, and "round" goes to the nearest integer with ties to even. The whole-picture
// pass (imaging/colourpass.h) gives bit for bit the same pixels, only faster.
#include "imaging/geometry.h"

#include <QImage>

#include <cstddef>
#include <cstdint>

// What the user did to a photo. In memory an ordinary aligned struct; in a stored corrections
// file the packed 69-byte little-endian record (imaging/correctionsrecord.h).
struct Corrections {
    std::int32_t rotation; // rotation code (imaging/geometry.h)
    std::uint8_t blackWhite; // convert to grey
    std::uint8_t sepia; // sepia toning
    CropFractions crop; // crop.left = kNoCrop: no crop
    std::int32_t sat; // saturation, matrix method, -100..100
    std::int32_t inten; // brightness, -100..100
    std::int32_t contr; // contrast, -100..100
    std::int32_t balr; // colour balance red (-) / cyan (+), -100..100
    std::int32_t balg; // green / magenta
    std::int32_t balb; // blue / yellow
    std::int32_t hue1; // hue shift in degrees, -180..180
    std::int32_t hue2; // saturation shift in hundredths (HSL method), -100..100
    std::int32_t hue3; // lightness shift in hundredths, -100..100
    std::uint8_t reserved[3]; // carried along and stored, no meaning

    bool operator==(const Corrections&) const = default;
};

// Every field zero, crop.left = kNoCrop: no rotation, no crop, no colour change.
void InitCorrections(Corrections& record);

// True when no colour setting is in use (the geometry may still be).
bool HasNoColourChange(const Corrections& record);

// Hue in degrees [0, 360), saturation and lightness in [0, 1], as 32-bit floats.
struct Hsl {
    float h;
    float s;
    float l;
};

// ---- One-pixel definitions ------------------------------------------------------------
// round(0.3 R + 0.59 G + 0.11 B) in extended precision into R, G and B.
std::uint32_t ToGreyscale(std::uint32_t pixel);
// The pixel's lightness with hue 36 degrees and saturation 0.25.
std::uint32_t ToSepia(std::uint32_t pixel);
// Each channel + v, limited to 0..255.
std::uint32_t AdjustBrightness(std::uint32_t pixel, int v);
// v > 0 stretches around 127; v < 0 pulls every channel toward the pivot p (integer steps
// truncated toward zero, then limited to 0..255).
std::uint32_t AdjustContrast(std::uint32_t pixel, int v, int p);
// Channel c with setting k: c - (c <= 128 ? c : 255 - c) * k / 128 (truncated), limited.
std::uint32_t BalanceColours(std::uint32_t pixel, int r, int g, int b);
// The saturation matrix with d = -(v / 100) * 0.33 and e = 1 - 2d as 32-bit floats.
std::uint32_t AdjustSaturation(std::uint32_t pixel, int v);
// Shifts hue by `hue` degrees, saturation by sat / 100 and lightness by light / 100.
std::uint32_t AdjustHsl(std::uint32_t pixel, int hue, int sat, int light);

Hsl RgbToHsl(std::uint32_t pixel);
// An opaque pixel (alpha 255) from lightness, saturation and hue in degrees. Channel values
// outside 0..255 (only for arguments outside their ranges) are limited.
std::uint32_t HslToRgb(float l, float s, float h);

// The contrast pivot: the sum over rows of (row's sum of R + G + B) div (4W - 1), divided by
// H - 1 (truncated). A picture of one row gives that row's share (the divisor is taken as 1);
// an empty picture gives 0.
int AverageGrey(const QImage& picture);

// Rotation and crop (when applyGeometry), then the colour operations in their fixed order:
// grey, sepia, brightness, contrast (pivot = AverageGrey after the geometry), balance,
// saturation, HSL. In place; the picture becomes Format_ARGB32. False when the geometry could
// not be applied (the picture may then be partly transformed).
bool ApplyCorrections(QImage& picture, const Corrections& record, bool applyGeometry);
