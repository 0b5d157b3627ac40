#pragma once
// General text helpers. Positions are 1-based, as the callers count them.
#include "platform/trimtext.h"

#include <QString>
#include <QStringList>

#include <cstdint>

struct NameValue {
    bool ok = false; // false when the line holds no "="
    QString name;
    QString value;
};
// Splits at the first "=" and trims both halves with TrimText.
NameValue SplitNameValue(const QString& line);

// Lines of a text broken at CR LF, LF or a lone CR; a final line break adds no empty line.
QStringList SplitTextLines(const QString& text);

// The text strictly between startMarker and endMarker (or including them). The first
// fromPos-1 characters are dropped first. An empty startMarker starts at the beginning, an
// empty endMarker ends at the end; equal markers take the second occurrence as the end.
// Empty when a marker is missing or the end lies before the start.
QString TextBetween(const QString& startMarker, const QString& endMarker, const QString& text, int fromPos = 1,
    bool includeMarkers = false);

// Occurrences of sub, counted by repeatedly finding and removing the first one.
int CountOccurrences(const QString& sub, const QString& text);

// Position in text of occurrence n+1 of sub searched from fromPos (n <= 0: the first), or 0.
int FindOccurrence(const QString& sub, const QString& text, int n, int fromPos = 1);

// Appends the trimmed tokens of text separated by any character of separators; empty tokens
// only with keepEmpty. Returns the number appended.
int SplitByChars(const QString& text, QStringList& list, const QString& separators, bool keepEmpty);

void TrimLines(QStringList& list);
int RemoveEmptyLines(QStringList& list); // returns the number removed

// n upper-case hexadecimal digits from the system's secure random source.
QString RandomHex(int n);

// Lower case, then upper case at the start and after every space.
QString TitleCase(const QString& text);

// The first n characters, or an empty string when text is shorter than n.
QString LeftChars(const QString& text, int n);

// value in decimal, padded with leading zeros to width (never shortened).
QString ZeroPad(int64_t value, int width);

// "," before every group of three characters from the right: 1234567 -> 1,234,567.
QString GroupThousands(const QString& digits);
QString FormatThousands(int64_t value);

// 5000 -> "4 Kb": divides by 1024 while the value exceeds 1024, up to largestUnit
// ("Kb", "Mb", "Gb" or "Tb", compared case-insensitively; "Kb" is always reached).
QString FormatByteSize(int64_t bytes, const QString& largestUnit);

// Colour values hold red in the low byte, then green, then blue. Text "r,g,b" with zero
// components written as nothing (black is ",,").
QString ColorToText(uint32_t color);
// Reads that text back; hexadecimal bytes are accepted in fields that do not start with a
// digit. Anything malformed gives 0 (black).
uint32_t TextToColor(const QString& text);

inline bool InRange(int64_t value, int64_t lo, int64_t hi)
{
    return lo <= value && value <= hi;
}

// a * b / c without overflow of the product, truncating; 0 when c is 0.
int64_t MulDiv64(int64_t a, int64_t b, int64_t c);

inline uint16_t Swap16(uint16_t v)
{
    return static_cast<uint16_t>(v << 8 | v >> 8);
}

inline uint32_t Swap32(uint32_t v)
{
    return (v << 24) | ((v << 8) & 0x00FF0000u) | ((v >> 8) & 0x0000FF00u) | (v >> 24);
}
