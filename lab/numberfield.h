#pragma once
// Strict conversion of the number fields of the lab's files: the whole field must be a
// decimal integer that fits 32 bits ("12abc" is refused, not read as 12).
#include <QString>

#include <optional>

// The value, or nothing with error set to "'text' is not a valid integer value".
std::optional<int> ParseDecimalField(const QString& text, QString* error = nullptr);
