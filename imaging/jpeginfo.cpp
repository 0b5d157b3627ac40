#include "imaging/jpeginfo.h"

#include "imaging/exactread.h"
#include "imaging/rounding.h"
#include "imaging/tiffinfo.h"

#include <QFile>
#include <QtEndian>

#include <cstring>

namespace {

constexpr std::uint8_t kApp0 = 0xE0, kApp1 = 0xE1, kBaselineFrame = 0xC0, kProgressiveFrame = 0xC2, kStartOfScan = 0xDA,
                       kEndOfImage = 0xD9;

// Reads the marker at the current position and its payload (length - 2 bytes).
bool ReadSegment(QIODevice& file, QByteArray& payload)
{
    std::uint8_t code = 0;
    std::uint16_t length = 0;
    return ReadMarker(file, code, length) && length >= 2 && ReadExact(file, payload, length - 2);
}

const uchar* Bytes(const QByteArray& payload)
{
    return reinterpret_cast<const uchar*>(payload.constData());
}

// A JFIF header of major version 1 with at least the density fields.
bool IsJfif(const QByteArray& payload)
{
    return payload.size() >= 12 && std::memcmp(payload.constData(), "JFIF\0", 5) == 0 && payload[5] == 1;
}

// Step 2 of ReadJpegInfo: the JFIF header. False ends the whole reading.
bool ReadJfif(QIODevice& file, ImageInfo& info)
{
    QByteArray payload;
    if (!ReadSegment(file, payload) || !IsJfif(payload))
        return false;
    const uchar* bytes = Bytes(payload);
    const int xDensity = qFromBigEndian<quint16>(bytes + 8);
    const int yDensity = qFromBigEndian<quint16>(bytes + 10);
    if (bytes[6] > 2 || xDensity == 0 || yDensity == 0)
        info.irregular = 1;
    switch (bytes[7]) {
    case 0:
        info.xDpi = info.yDpi = 72;
        break;
    case 1:
        info.xDpi = xDensity;
        info.yDpi = yDensity;
        break;
    case 2:
        info.xDpi = RoundToInt32(xDensity * 2.54L);
        info.yDpi = RoundToInt32(yDensity * 2.54L);
        break;
    default:
        return false;
    }
    info.width = info.height = 0;
    return true;
}

// Step 3: the frame header found at the current position.
bool ReadFrame(QIODevice& file, ImageInfo& info)
{
    QByteArray payload;
    if (!ReadSegment(file, payload) || payload.size() < 6)
        return false;
    const uchar* bytes = Bytes(payload);
    info.height = qFromBigEndian<quint16>(bytes + 1);
    info.width = qFromBigEndian<quint16>(bytes + 3);
    const int components = bytes[5];
    info.bitsPerPixel = std::uint8_t(components == 1 ? 8 : components == 3 ? 24 : components == 4 ? 32 : components);
    return true;
}

} // namespace

bool OpenJpeg(QIODevice& file)
{
    uchar start[2];
    return file.seek(0) && ReadExact(file, start, 2) && start[0] == 0xFF && start[1] == 0xD8;
}

bool RewindJpeg(QIODevice& file)
{
    return file.seek(2);
}

bool ReadMarker(QIODevice& file, std::uint8_t& code, std::uint16_t& length)
{
    uchar marker[2];
    if (!ReadExact(file, marker, 2) || marker[0] != 0xFF)
        return false;
    code = marker[1];
    length = 0;
    if (code == kEndOfImage)
        return true;
    uchar lengthBytes[2];
    if (!ReadExact(file, lengthBytes, 2))
        return false;
    length = qFromBigEndian<quint16>(lengthBytes);
    return true;
}

bool SkipSegment(QIODevice& file, std::uint16_t length)
{
    if (length < 2)
        return false;
    const qint64 target = file.pos() + length - 2;
    return target <= file.size() && file.seek(target);
}

bool FindMarker(QIODevice& file, std::uint8_t code)
{
    if (code == kEndOfImage)
        return false;
    for (;;) {
        const qint64 start = file.pos();
        std::uint8_t found = 0;
        std::uint16_t length = 0;
        if (!ReadMarker(file, found, length))
            return false;
        if (found == code)
            return file.seek(start);
        if (found == kStartOfScan)
            return false;
        if (found != kEndOfImage && !SkipSegment(file, length))
            return false;
    }
}

bool ReadJpegInfo(QIODevice& file, ImageInfo& info)
{
    std::memset(&info, 0, sizeof info);
    if (!OpenJpeg(file))
        return false;
    if (FindMarker(file, kApp0)) {
        info.kind = kKindJpeg;
        if (!ReadJfif(file, info))
            return false;
    }
    if (RewindJpeg(file)
        && (FindMarker(file, kBaselineFrame) || (RewindJpeg(file) && FindMarker(file, kProgressiveFrame)))) {
        info.kind = kKindJpeg;
        if (!ReadFrame(file, info))
            return false;
    }
    const bool headerFound = info.kind != kKindNothing;
    const bool exif = ReadExifInfo(file, info);
    info.hasExif = exif ? 1 : 0;
    return headerFound || exif;
}

bool ReadExifInfo(QIODevice& file, ImageInfo& info)
{
    std::uint8_t code = 0;
    std::uint16_t length = 0;
    uchar signature[6];
    if (!RewindJpeg(file) || !FindMarker(file, kApp1) || !ReadMarker(file, code, length)
        || !ReadExact(file, signature, sizeof signature) || std::memcmp(signature, "Exif\0\0", 6) != 0)
        return false;
    if (!ReadExifTiff(file, info))
        return false;
    info.kind = kKindJpegExif;
    return true;
}

bool StampJpegDensity(const QString& path, int dpi)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || !OpenJpeg(file) || !FindMarker(file, kApp0))
        return false;
    std::uint8_t code = 0;
    std::uint16_t length = 0;
    QByteArray payload;
    if (!ReadMarker(file, code, length) || length < 2)
        return false;
    const qint64 payloadStart = file.pos();
    if (!ReadExact(file, payload, length - 2) || !IsJfif(payload) || Bytes(payload)[6] > 2)
        return false;
    file.close();

    uchar* bytes = reinterpret_cast<uchar*>(payload.data());
    bytes[7] = 1;
    qToBigEndian<quint16>(quint16(dpi), bytes + 8);
    qToBigEndian<quint16>(quint16(dpi), bytes + 10);
    return file.open(QIODevice::ReadWrite) && file.seek(payloadStart) && file.write(payload) == payload.size()
        && file.flush();
}
