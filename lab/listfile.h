#pragma once
// Reading the lab's list files (formats, shops). Number fields are converted strictly: the
// whole field must be a decimal integer that fits 32 bits ("12abc" is refused, not half-read).
#include <QString>
#include <QStringList>

#include <optional>

// The largest lab file (settings, formats, shops) the program fetches, copies or reads.
inline constexpr qint64 kLabFileMaxBytes = qint64(4) << 20;
// A line of a lab file is logged cut to this many characters.
inline constexpr int kLoggedLineChars = 300;

class QFile;
// Whether an open lab file is within kLabFileMaxBytes; logs the refusal.
bool LabFileFits(const QFile& file);

// text cut to kLoggedLineChars characters, "..." marking a cut.
QString LoggedExcerpt(const QString& text);

// The value, or nothing with error set to "'text' is not a valid integer value" (text cut
// by LoggedExcerpt).
std::optional<int> ParseDecimalField(const QString& text, QString* error = nullptr);

// The lines of a lab list file (Windows-1250), trimmed, without empty lines; nothing when
// the file cannot be read or is larger than kLabFileMaxBytes (logged).
std::optional<QStringList> ReadListLines(const QString& path);
