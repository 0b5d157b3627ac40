#pragma once
// Channels of a 32-bit pixel A << 24 | R << 16 | G << 8 | B.
#include <cstdint>

constexpr int Red(std::uint32_t pixel)
{
    return int(pixel >> 16) & 0xFF;
}
constexpr int Green(std::uint32_t pixel)
{
    return int(pixel >> 8) & 0xFF;
}
constexpr int Blue(std::uint32_t pixel)
{
    return int(pixel) & 0xFF;
}
constexpr std::uint32_t Alpha(std::uint32_t pixel)
{
    return pixel & 0xFF000000u;
}

constexpr int ClampByte(std::int64_t value)
{
    return value < 0 ? 0 : value > 255 ? 255 : int(value);
}

// pixel's alpha with new R, G and B (each 0..255).
constexpr std::uint32_t WithRgb(std::uint32_t pixel, int r, int g, int b)
{
    return Alpha(pixel) | std::uint32_t(r) << 16 | std::uint32_t(g) << 8 | std::uint32_t(b);
}

// pixel's alpha with the R, G and B of colour.
constexpr std::uint32_t WithRgbOf(std::uint32_t pixel, std::uint32_t colour)
{
    return Alpha(pixel) | (colour & 0x00FFFFFFu);
}

constexpr std::uint32_t OpaquePixel(int r, int g, int b)
{
    return 0xFF000000u | std::uint32_t(r) << 16 | std::uint32_t(g) << 8 | std::uint32_t(b);
}
