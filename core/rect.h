#pragma once
// Integer rectangles with exclusive Right and Bottom (width = Right - Left), and the
// conversion between print millimetres and pixels.
#include <algorithm>
#include <cmath>
#include <limits>

struct TRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;

    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    friend bool operator==(const TRect&, const TRect&) = default;
};

// round(mm / 25.4 * dpi), ties to the even integer; a result beyond the int range saturates
// (the catalogue keeps sides far below that, but a conversion must never overflow).
inline int MmToPixels(int mm, int dpi)
{
    const double pixels = std::nearbyint(mm / 25.4 * dpi);
    return static_cast<int>(
        std::clamp(pixels, double(std::numeric_limits<int>::min()), double(std::numeric_limits<int>::max())));
}
