#pragma once
// Integer rectangles with exclusive Right and Bottom (width = Right - Left), and the
// conversion between print millimetres and pixels.
#include <cmath>

struct TRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;

    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    friend bool operator==(const TRect&, const TRect&) = default;
};

// round(mm / 25.4 * dpi), ties to the even integer.
inline int MmToPixels(int mm, int dpi)
{
    return static_cast<int>(std::nearbyint(mm / 25.4 * dpi));
}
