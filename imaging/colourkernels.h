#pragma once
// The vectorisable inner loops of the whole-picture colour pass. Each works on a chunk of
// pixels, in straight-line code the compiler turns into SIMD (an AVX2 version is chosen at run
// time where the processor has it), and marks in `undecided` the pixels whose exact result it
// cannot be sure of; the caller recomputes those with the one-pixel definition. Every claim of
// exactness is argued next to the code and checked by the tests against all 2^24 colours.
#include <cstdint>

// Pixels a kernel handles per call.
inline constexpr int kKernelChunk = 256;

// ToGreyscale: out = grey of in; undecided where 30R + 59G + 11B ends in 50 (an exact tie).
void GreyKernel(const std::uint32_t* in, std::uint32_t* out, std::uint8_t* undecided, int count);

// AdjustSaturation with the factors e and d (|setting| <= 1000): exact, in place.
void SaturationKernel(std::uint32_t* pixels, int count, float e, float d);

// The parts of AdjustHsl that depend only on (max, min) of a pixel, indexed max << 8 | min.
struct HslKernelTables {
    const float* m1;
    const float* m2;
    const std::int32_t* grey; // >= 0 where the shifted saturation is 0
    int hueShift; // |hueShift| <= 2^20
};

// AdjustHsl: out from in; undecided where double arithmetic cannot decide a float or a rounding.
void HslKernel(
    const std::uint32_t* in, std::uint32_t* out, std::uint8_t* undecided, int count, const HslKernelTables& tables);
