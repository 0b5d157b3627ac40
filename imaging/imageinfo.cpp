#include "imaging/imageinfo.h"

#include "imaging/containerinfo.h"
#include "imaging/exactread.h"
#include "imaging/jpeginfo.h"
#include "imaging/rounding.h"
#include "imaging/tiffinfo.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QtEndian>

#include <cstdlib>
#include <cstring>
#include <limits>
#include <utility>

namespace {

FileTime CalendarFields(const QDateTime& time)
{
    const QDateTime local = time.toLocalTime();
    const QDate date = local.date();
    const QTime clock = local.time();
    return { std::uint16_t(date.year()), std::uint16_t(date.month()), std::uint16_t(date.dayOfWeek() % 7),
        std::uint16_t(date.day()), std::uint16_t(clock.hour()), std::uint16_t(clock.minute()),
        std::uint16_t(clock.second()), std::uint16_t(clock.msec()) };
}

bool ReadByExtension(const QString& path, const QString& extension, ImageInfo& info)
{
    QFile file(path);
    if (extension == u"BMP")
        return file.open(QIODevice::ReadOnly) && ReadBmpHeaderInfo(file, info);
    if (extension == u"PSD")
        return file.open(QIODevice::ReadOnly) && ReadPsdHeaderInfo(file, info);
    if (extension == u"TIF" || extension == u"TIFF") {
        info.kind = kKindTiff;
        return file.open(QIODevice::ReadOnly) && ReadTiffInfo(file, info);
    }
    if (extension == u"JPG" || extension == u"JPE" || extension == u"JPEG")
        return file.open(QIODevice::ReadOnly) && ReadJpegInfo(file, info);
    if (extension == u"HEIC" || extension == u"HEIF" || extension == u"AVIF")
        return file.open(QIODevice::ReadOnly) && ReadHeifHeaderInfo(file, info);
    if (extension == u"WEBP")
        return file.open(QIODevice::ReadOnly) && ReadWebpHeaderInfo(file, info);
    return false;
}

} // namespace

bool ReadImageInfo(const QString& path, ImageInfo& info)
{
    std::memset(&info, 0, sizeof info);
    const QFileInfo fileInfo(path);
    const bool result = ReadByExtension(path, fileInfo.suffix().toUpper(), info);
    if (OrientationTurnsQuarter(info.orientation))
        std::swap(info.width, info.height);
    if (fileInfo.isFile()) {
        const QDateTime born = fileInfo.birthTime();
        info.created = CalendarFields(born.isValid() ? born : fileInfo.lastModified());
        info.fileSize = std::int32_t(std::uint32_t(quint64(fileInfo.size())));
    }
    if (info.xDpi == 0)
        info.xDpi = 1;
    if (info.yDpi == 0)
        info.yDpi = 1;
    return result;
}

bool ReadBmpHeaderInfo(QIODevice& file, ImageInfo& info)
{
    uchar header[54];
    if (!file.seek(0) || !ReadExact(file, header, sizeof header) || header[0] != 'B' || header[1] != 'M')
        return false;
    const auto dpi
        = [](const uchar* pixelsPerMetre) { return RoundToInt32(qFromLittleEndian<qint32>(pixelsPerMetre) * 0.0254L); };
    info.kind = kKindBmp;
    info.width = qFromLittleEndian<qint32>(header + 18);
    // A negative height marks rows stored from the top; the picture's height is its size.
    const qint32 height = qFromLittleEndian<qint32>(header + 22);
    info.height = height == std::numeric_limits<qint32>::min() ? 0 : std::abs(height);
    info.bitsPerPixel = std::uint8_t(qFromLittleEndian<quint16>(header + 28));
    info.xDpi = dpi(header + 38);
    info.yDpi = dpi(header + 42);
    return true;
}

bool ReadPsdHeaderInfo(QIODevice& file, ImageInfo& info)
{
    uchar header[26];
    if (!file.seek(0) || !ReadExact(file, header, sizeof header) || std::memcmp(header, "8BPS", 4) != 0
        || qFromBigEndian<quint16>(header + 4) != 1)
        return false;
    info.kind = kKindPsd;
    info.height = qFromBigEndian<qint32>(header + 14);
    info.width = qFromBigEndian<qint32>(header + 18);
    info.xDpi = info.yDpi = 72;
    switch (qFromBigEndian<quint16>(header + 24)) {
    case 1:
    case 2:
    case 8:
        info.bitsPerPixel = 8;
        break; // grey, indexed, duotone
    case 3:
    case 9:
        info.bitsPerPixel = 24;
        break; // RGB, Lab
    case 4:
        info.bitsPerPixel = 32;
        break; // CMYK
    default:
        info.bitsPerPixel = 1;
        break;
    }
    return true;
}
