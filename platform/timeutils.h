#pragma once
// Time of day and elapsed-time texts.
#include <QString>

#include <cstdint>

// Milliseconds since local midnight.
int MsSinceMidnight();

// "hh:mm:ss" with at least two digits of hours (no wrap at 24).
QString FormatElapsed(int64_t ms);
// FormatElapsed(ms) + "." + three digits of milliseconds.
QString FormatElapsedMs(int64_t ms);
