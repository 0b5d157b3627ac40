#pragma once
// The digital stamp of the lab's INI-style configuration files.
#include <QString>

// MD5Hex("vd" + every value of the file in order + "db915706"), skipping comment lines,
// lines without "=" and values of keys named exactly "stamp". Empty when the file cannot
// be read.
QString ComputeStamp(const QString& path);

// The stamp of file contents already in memory (Windows-1250 bytes).
QString ComputeStampOfBytes(const QByteArray& contents);
