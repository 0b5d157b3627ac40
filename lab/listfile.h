#pragma once
// Reading the lab's list files (formats, shops). Number fields are converted strictly: the
// whole field must be a decimal integer that fits 32 bits ("12abc" is refused, not half-read).
#include <QString>
#include <QStringList>

#include <optional>

// The value, or nothing with error set to "'text' is not a valid integer value".
std::optional<int> ParseDecimalField(const QString& text, QString* error = nullptr);

// The lines of a lab list file (Windows-1250), trimmed, without empty lines; nothing when
// the file cannot be read.
std::optional<QStringList> ReadListLines(const QString& path);
