#pragma once
// The Windows-1250 code page: every file and wire format of the program is stored in it.
#include <QByteArray>
#include <QString>

// Decodes Windows-1250 bytes. The five bytes the code page leaves undefined map to the C1
// control characters of the same value, so every byte survives a round trip.
QString FromCp1250(const QByteArray& bytes);
QString FromCp1250(const char* data, qsizetype size);

// Encodes text as Windows-1250; a character the code page cannot hold becomes "?".
QByteArray ToCp1250(const QString& text);
