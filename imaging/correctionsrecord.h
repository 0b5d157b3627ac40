#pragma once
// The Corrections record as stored in a corrections file: 69 bytes, little-endian, no padding.
// rotation at 0, blackWhite 4, sepia 5, crop 6 (six floats), sat 30, inten 34, contr 38,
// balr 42, balg 46, balb 50, hue1 54, hue2 58, hue3 62, reserved 66 (three bytes).
#include "imaging/colour.h"

#include <array>
#include <cstddef>
#include <cstdint>

inline constexpr std::size_t kCorrectionsRecordSize = 69;
using CorrectionsRecordBytes = std::array<std::uint8_t, kCorrectionsRecordSize>;

CorrectionsRecordBytes CorrectionsToBytes(const Corrections& record);
Corrections CorrectionsFromBytes(const CorrectionsRecordBytes& bytes);
