#pragma once
// The digital stamp of the lab's INI-style configuration files.
#include <QString>

// MD5Hex("vd" + every value of the file in order + "db915706"), skipping comment lines,
// lines without "=" and values of keys named exactly "stamp". Empty when the file cannot
// be read.
QString ComputeStamp(const QString& path);

// The stamp of file contents already in memory (Windows-1250 bytes).
QString ComputeStampOfBytes(const QByteArray& contents);

// Stores the file's stamp as "stamp" in section "digitalstamp" (adding the section when
// missing, keeping every other line) and checks that the file then verifies. False when
// the file cannot be read or written.
bool WriteStamp(const QString& path);
