#pragma once
// Reading key=value lines back: the order's metadata file and the lines of a history entry.
#include <QByteArray>
#include <QString>
#include <QStringList>

// Reads metadata back: the lines of the text (CR LF, LF or CR) without empty ones.
QStringList ReadMetadataLines(const QByteArray& bytes);

// The value (after the first "=") of the occurrence-th line (0 = first) whose key equals key,
// letter case ignored; empty when there is none.
QString MetadataValue(const QStringList& lines, const QString& key, int occurrence = 0);
// The values of every line whose key equals key, letter case ignored, in their order.
QStringList MetadataValues(const QStringList& lines, const QString& key);
