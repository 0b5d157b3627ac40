#include "imaging/colourpass.h"

#include "imaging/colourkernels.h"
#include "imaging/colourparts.h"
#include "imaging/parallelrows.h"
#include "imaging/picture.h"
#include "imaging/pixel.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// From this many pixels on, the (max, min) tables (about 33,000 entries, each computed with
// the definitions) cost less than they save.
constexpr std::int64_t kTableJob = 128 * 1024;
// Saturation settings whose float products sum exactly in double (see SaturationKernel).
constexpr int kFastSaturationLimit = 1000;
// Hue shifts for which hue + shift is exact in double (the hue has no bits below 2^-26).
constexpr int kFastHueLimit = 1 << 20;

int MaxMinIndex(std::uint32_t pixel)
{
    return std::max(Red(pixel), std::max(Green(pixel), Blue(pixel))) << 8
        | std::min(Red(pixel), std::min(Green(pixel), Blue(pixel)));
}

// Calls fill(max, min) for every max >= min, on all cores: rows max = k and 255 - k go together
// so that every band has the same number of entries.
template <typename Fill> void ForEachMaxMin(Fill fill)
{
    ParallelRows(128, 1 << 12, [&](int first, int end) {
        for (int k = first; k < end; ++k)
            for (const int max : { k, 255 - k })
                for (int min = 0; min <= max; ++min)
                    fill(max, min);
    });
}

} // namespace

// Per-(max, min) parts of AdjustHsl: the shifted lightness and saturation depend only on the
// largest and smallest channel, and so do the mixing levels m1, m2 derived from them.
struct TColourPass::HslTables {
    std::unique_ptr<float[]> m1 = std::make_unique<float[]>(65536);
    std::unique_ptr<float[]> m2 = std::make_unique<float[]>(65536);
    std::unique_ptr<std::int32_t[]> grey = std::make_unique<std::int32_t[]>(65536);
    HslKernelTables view;

    HslTables(int hueShift, int sat, int light)
        : view { m1.get(), m2.get(), grey.get(), hueShift }
    {
        ForEachMaxMin([&](int max, int min) {
            const Hsl shifted = ShiftHsl(RgbToHsl(OpaquePixel(max, min, min)), 0, sat, light);
            const std::size_t index = std::size_t(max << 8 | min);
            grey[index] = shifted.s == 0 ? Blue(HslToRgb(shifted.l, 0.0f, 0.0f)) : -1;
            const HslMix mix = shifted.s == 0 ? HslMix { 0, 0 } : MixOf(shifted.l, shifted.s);
            m1[index] = mix.m1;
            m2[index] = mix.m2;
        });
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
        FillSepiaChain();
    } else if (hsl_ && std::abs(record.hue1) <= kFastHueLimit) {
        hslTables_ = std::make_unique<HslTables>(record.hue1, record.hue2, record.hue3);
    }
}

TColourPass::~TColourPass() = default;

// Sepia keeps only the pixel's lightness, which depends on (max, min) alone, so the whole chain
// from sepia on is one table indexed by (max, min). Entries of equal lightness share their
// result: the chain, the costly part, runs once per lightness (about 520 of them) instead of
// once per entry (about 33,000). Entries are grouped by max + min, which nearly fixes the
// lightness, so finding an equal one takes a short look.
void TColourPass::FillSepiaChain()
{
    const auto lightness = std::make_unique<float[]>(65536);
    ForEachMaxMin(
        [&](int max, int min) { lightness[std::size_t(max << 8 | min)] = RgbToHsl(OpaquePixel(max, min, min)).l; });
    struct Known {
        float lightness;
        std::uint32_t chain;
    };
    std::vector<std::vector<Known>> bySum(511);
    sepiaChain_ = std::make_unique<std::uint32_t[]>(65536);
    for (int max = 0; max < 256; ++max) {
        for (int min = 0; min <= max; ++min) {
            const std::size_t index = std::size_t(max << 8 | min);
            std::vector<Known>& known = bySum[std::size_t(max + min)];
            auto found = std::find_if(
                known.begin(), known.end(), [&](const Known& k) { return k.lightness == lightness[index]; });
            if (found == known.end())
                found = known.insert(known.end(), { lightness[index], ChainAfterSepia(OpaquePixel(max, min, min)) });
            sepiaChain_[index] = found->chain;
        }
    }
}

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
    for (int start = 0; start < count; start += kKernelChunk)
        ApplyChunk(pixels + start, std::min(kKernelChunk, count - start));
}

void TColourPass::ApplyChunk(std::uint32_t* pixels, int count) const
{
    std::uint32_t results[kKernelChunk];
    std::uint8_t undecided[kKernelChunk];
    if (grey_) {
        GreyKernel(pixels, results, undecided, count);
        for (int i = 0; i < count; ++i)
            pixels[i] = undecided[i] ? ToGreyscale(pixels[i]) : results[i];
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
            SaturationKernel(pixels, count, saturationE_, saturationD_);
        } else {
            for (int i = 0; i < count; ++i)
                pixels[i] = AdjustSaturation(pixels[i], record_.sat);
        }
    }
    if (hsl_ && hslTables_) {
        HslKernel(pixels, results, undecided, count, hslTables_->view);
        for (int i = 0; i < count; ++i)
            pixels[i] = undecided[i] ? AdjustHsl(pixels[i], record_.hue1, record_.hue2, record_.hue3) : results[i];
    } else if (hsl_) {
        for (int i = 0; i < count; ++i)
            pixels[i] = AdjustHsl(pixels[i], record_.hue1, record_.hue2, record_.hue3);
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
