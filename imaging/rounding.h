#pragma once
// Rounding as the program's arithmetic has always done it: to the nearest integer with ties to
// the even one (the floating-point unit's default mode), on extended-precision values.
#include <cmath>
#include <cstdint>
#include <limits>

// round(value), saturated to the 32-bit range; not-a-number gives 0.
inline std::int32_t RoundToInt32(long double value)
{
    if (std::isnan(value))
        return 0;
    constexpr long double low = std::numeric_limits<std::int32_t>::min();
    constexpr long double high = std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(std::nearbyint(value < low ? low : value > high ? high : value));
}
