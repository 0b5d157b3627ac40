#pragma once
// Length-prefixed Windows-1250 strings in binary files: a little-endian signed 32-bit length,
// then that many bytes.
#include <QIODevice>
#include <QString>
#include <QStringList>

// One little-endian signed 32-bit integer; false when the read or write fails.
bool ReadInt32(QIODevice& file, qint32& value);
bool WriteInt32(QIODevice& file, qint32 value);

// An empty string is the length 0 alone. False when a write fails.
bool WriteLenString(QIODevice& file, const QString& s);

// Reads one string of 1..maxLen bytes. A length outside that range gives an empty s and
// false and leaves the position just after the length; a read error gives an empty s and
// false.
bool ReadLenString(QIODevice& file, QString& s, int maxLen);

// As ReadLenString with the range 1..1048575.
bool ReadLenStringCapped(QIODevice& file, QString& s);

// A 32-bit count, then each line with WriteLenString.
bool WriteStringList(QIODevice& file, const QStringList& list);

// Reads a list written by WriteStringList, appending to list (cleared first when asked).
// A string whose length is out of range reads as an empty line; false only when a read
// fails.
bool ReadStringList(QIODevice& file, bool clearFirst, QStringList& list);
