#pragma once
// Reading key=value lines back: the order's metadata file and the lines of a history entry.
#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

// Reads metadata back: the lines of the text (CR LF, LF or CR) without empty ones.
QStringList ReadMetadataLines(const QByteArray& bytes);
// The bytes of an order's metadata file; nothing when it does not read or is larger than any
// metadata file (a few kilobytes a photo; 64 MB at most).
std::optional<QByteArray> ReadMetadataFile(const QString& path);

// The value (after the first "=") of the occurrence-th line (0 = first) whose key equals key,
// letter case ignored; empty when there is none.
QString MetadataValue(const QStringList& lines, const QString& key, int occurrence = 0);
// The values of every line whose key equals key, letter case ignored, in their order.
QStringList MetadataValues(const QStringList& lines, const QString& key);
