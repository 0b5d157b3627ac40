#pragma once
// A straightforward transcription of the colour definitions, one pixel at a time, written
// independently of the engine: the engine's pixel functions and its whole-picture pass are
// checked against it. Expressions run in long double (the x87 extended type); variables the
// definitions keep as 32-bit floats are floats; round is to nearest, ties to even.
#include <algorithm>
#include <cmath>
#include <cstdint>

namespace reference {

using Ext = long double;

struct Rgb {
    int r, g, b;
};

inline Rgb Split(std::uint32_t p)
{
    return { int(p >> 16 & 255), int(p >> 8 & 255), int(p & 255) };
}
inline std::uint32_t Join(std::uint32_t alphaFrom, Rgb c)
{
    return (alphaFrom & 0xFF000000u) | std::uint32_t(c.r) << 16 | std::uint32_t(c.g) << 8 | std::uint32_t(c.b);
}
inline int Clamp(long long v)
{
    return v < 0 ? 0 : v > 255 ? 255 : int(v);
}
inline int Round(Ext v)
{
    return Clamp(std::llrint(v));
}

inline std::uint32_t Grey(std::uint32_t p)
{
    const Rgb c = Split(p);
    const int g = Round(0.3L * c.r + 0.59L * c.g + 0.11L * c.b);
    return Join(p, { g, g, g });
}

inline void ToHsl(std::uint32_t p, float& H, float& S, float& L)
{
    const Rgb c = Split(p);
    float r = Ext(c.r) / 255, g = Ext(c.g) / 255, b = Ext(c.b) / 255;
    float mx = std::max({ r, g, b }), mn = std::min({ r, g, b });
    L = (Ext(mx) + Ext(mn)) / 2;
    if (mx == mn) {
        H = 0;
        S = 0;
        return;
    }
    float d = Ext(mx) - Ext(mn);
    if (L < 0.5f)
        S = Ext(d) / (Ext(mx) + Ext(mn));
    else
        S = Ext(d) / (2 - Ext(mx) - Ext(mn));
    if (r == mx)
        H = (Ext(g) - Ext(b)) / Ext(d);
    else if (g == mx)
        H = 2 + (Ext(b) - Ext(r)) / Ext(d);
    else
        H = 4 + (Ext(r) - Ext(g)) / Ext(d);
    H = Ext(H) * 60;
    if (H < 0)
        H = Ext(H) + 360;
}

inline int HueChannel(float x, float m1, float m2)
{
    if (x < 0)
        x = Ext(x) + 1;
    if (x > 1)
        x = Ext(x) - 1;
    Ext v;
    if (6 * Ext(x) < 1)
        v = Ext(m1) + (Ext(m2) - Ext(m1)) * Ext(x) * 6;
    else if (2 * Ext(x) < 1)
        v = m2;
    else if (3 * Ext(x) < 2)
        v = Ext(m1) + (Ext(m2) - Ext(m1)) * (2.0L / 3 - Ext(x)) * 6;
    else
        v = m1;
    return Round(v * 255);
}

inline Rgb FromHsl(float L, float S, float H)
{
    if (S == 0) {
        const int v = Round(Ext(L) * 255);
        return { v, v, v };
    }
    float h = Ext(H) / 360;
    float m2;
    if (L <= 0.5f)
        m2 = Ext(L) * (1 + Ext(S));
    else
        m2 = Ext(L) + Ext(S) - Ext(L) * Ext(S);
    float m1 = 2 * Ext(L) - Ext(m2);
    return { HueChannel(float(Ext(h) + 1.0L / 3), m1, m2), HueChannel(h, m1, m2),
        HueChannel(float(Ext(h) - 1.0L / 3), m1, m2) };
}

inline std::uint32_t Sepia(std::uint32_t p)
{
    float H, S, L;
    ToHsl(p, H, S, L);
    return Join(p, FromHsl(L, 0.25f, 36.0f));
}

inline std::uint32_t Brightness(std::uint32_t p, int v)
{
    const Rgb c = Split(p);
    return Join(p,
        { Clamp(c.r + static_cast<long long>(v)), Clamp(c.g + static_cast<long long>(v)),
            Clamp(c.b + static_cast<long long>(v)) });
}

inline int ContrastChannel(long long c, long long v, long long pivot)
{
    if (v > 0)
        c = c + v * (c - 127) / 100;
    else if (v < 0 && c < pivot)
        c = c + (-v) * (pivot - c) / 100;
    else if (v < 0 && c > pivot)
        c = c - (-v) * (c - pivot) / 100;
    return Clamp(c);
}

inline std::uint32_t Contrast(std::uint32_t p, int v, int pivot)
{
    const Rgb c = Split(p);
    return Join(p, { ContrastChannel(c.r, v, pivot), ContrastChannel(c.g, v, pivot), ContrastChannel(c.b, v, pivot) });
}

inline int BalanceChannel(long long c, long long k)
{
    if (k == 0)
        return int(c);
    const long long w = c <= 128 ? c : 255 - c;
    return Clamp(c - w * k / 128);
}

inline std::uint32_t Balance(std::uint32_t p, int r, int g, int b)
{
    const Rgb c = Split(p);
    return Join(p, { BalanceChannel(c.r, r), BalanceChannel(c.g, g), BalanceChannel(c.b, b) });
}

inline std::uint32_t Saturation(std::uint32_t p, int v)
{
    const Rgb c = Split(p);
    float d = -(Ext(v) / 100) * 0.33L;
    float e = 1 - 2 * Ext(d);
    float re = Ext(c.r) * e, rd = Ext(c.r) * d, ge = Ext(c.g) * e, gd = Ext(c.g) * d;
    float be = Ext(c.b) * e, bd = Ext(c.b) * d;
    return Join(p,
        { Round(Ext(re) + Ext(gd) + Ext(bd)), Round(Ext(rd) + Ext(ge) + Ext(bd)), Round(Ext(rd) + Ext(gd) + Ext(be)) });
}

inline std::uint32_t HslShift(std::uint32_t p, int hue, int sat, int light)
{
    float H, S, L;
    ToHsl(p, H, S, L);
    H = Ext(H) + hue;
    S = Ext(S) + Ext(sat) / 100;
    L = Ext(L) + Ext(light) / 100;
    if (H < 0)
        H = Ext(H) + 360;
    if (H > 360)
        H = Ext(H) - 360;
    S = std::clamp(S, 0.0f, 1.0f);
    L = std::clamp(L, 0.0f, 1.0f);
    return Join(p, FromHsl(L, S, H));
}

struct Settings {
    bool blackWhite = false, sepia = false;
    int sat = 0, inten = 0, contr = 0, balr = 0, balg = 0, balb = 0, hue1 = 0, hue2 = 0, hue3 = 0;
};

// Steps 1 to 7 of the colour pass for one pixel.
inline std::uint32_t Chain(std::uint32_t p, const Settings& s, int pivot)
{
    if (s.blackWhite)
        p = Grey(p);
    if (s.sepia)
        p = Sepia(p);
    if (s.inten)
        p = Brightness(p, s.inten);
    if (s.contr)
        p = Contrast(p, s.contr, pivot);
    if (s.balr || s.balg || s.balb)
        p = Balance(p, s.balr, s.balg, s.balb);
    if (s.sat)
        p = Saturation(p, s.sat);
    if (s.hue1 || s.hue2 || s.hue3)
        p = HslShift(p, s.hue1, s.hue2, s.hue3);
    return p;
}

} // namespace reference
