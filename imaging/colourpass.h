#pragma once
// The colour operations of one Corrections record prepared for whole rows (steps grey, sepia,
// brightness, contrast, balance, saturation, HSL of ApplyCorrections).
//
// Each pixel comes out bit for bit as the one-pixel definitions of imaging/colour.h give it:
// every table is filled by those definitions, and every shortcut is exact:
//  - brightness, contrast and balance act on each channel alone, so together they are three
//    256-entry tables;
//  - sepia keeps only the lightness, which depends on the largest and smallest channel, so
//    sepia and everything after it is one table indexed by (max, min);
//  - grey is integer arithmetic except at exact decimal ties, which use the definition;
//  - saturation's float products are exact to compute in float and their sum is exact in
//    double;
//  - HSL uses per-(max, min) tables for lightness and saturation and double arithmetic for
//    the hue, falling back to the definition for the rare pixel whose rounding the double
//    result cannot decide.
// The vectorised loops are in imaging/colourkernels.h.
#include "imaging/colour.h"

#include <QImage>

#include <array>
#include <cstdint>
#include <memory>

class TColourPass {
public:
    // pixelsToProcess tells how much work the pass will do; tables that cost more to fill than
    // they save are then not built.
    TColourPass(const Corrections& record, int pivot, std::int64_t pixelsToProcess = kLargeJob);
    ~TColourPass();
    TColourPass(const TColourPass&) = delete;
    TColourPass& operator=(const TColourPass&) = delete;

    // Applies the colour operations to count pixels in place. Safe to call from several threads.
    void ApplyRow(std::uint32_t* pixels, int count) const;

    static constexpr std::int64_t kLargeJob = std::int64_t(1) << 40;

private:
    struct HslTables;

    void FillSepiaChain();
    void ApplyChunk(std::uint32_t* pixels, int count) const;
    void ApplyAfterSepia(std::uint32_t* pixels, int count) const;
    std::uint32_t ChainAfterSepia(std::uint32_t pixel) const;

    Corrections record_;
    bool grey_ = false;
    bool sepia_ = false;
    bool channels_ = false;
    bool saturation_ = false;
    bool hsl_ = false;
    float saturationE_ = 0;
    float saturationD_ = 0;
    std::array<std::uint8_t, 256> redTable_ {};
    std::array<std::uint8_t, 256> greenTable_ {};
    std::array<std::uint8_t, 256> blueTable_ {};
    std::unique_ptr<std::uint32_t[]> sepiaChain_; // [max << 8 | min] -> R, G, B after the chain
    std::unique_ptr<HslTables> hslTables_;
};

// Applies the pass to every pixel of a Format_ARGB32 picture, rows in parallel.
void ApplyColourPass(QImage& picture, const TColourPass& pass);
