#include "platform/muldiv.h"

#include <cstdint>
#include <cstdlib>

int MulDiv(int number, int numerator, int denominator)
{
    if (denominator == 0)
        return -1;
    const std::int64_t product = std::int64_t(number) * numerator;
    const std::int64_t magnitude = (std::llabs(product) + std::llabs(denominator) / 2) / std::llabs(denominator);
    const bool negative = (product < 0) != (denominator < 0);
    return int(negative ? -magnitude : magnitude);
}
