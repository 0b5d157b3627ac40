#pragma once
// Initial Blowfish subkeys and S-boxes.
#include <array>
#include <cstdint>

extern const std::array<uint32_t, 18> kBlowfishInitP;
extern const std::array<std::array<uint32_t, 256>, 4> kBlowfishInitS;
