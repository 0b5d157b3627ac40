#include "imaging/tiffinfo.h"

#include "imaging/exactread.h"
#include "imaging/rounding.h"

#include <QIODevice>
#include <QtEndian>

#include <cstring>
#include <set>

namespace {

// A chain is walked through at most this many IFDs (multi-page files have one per page), and
// never through the same IFD twice: a chain that loops ends there.
constexpr int kMaxIfds = 4096;

enum class Dialect { Tiff, Exif };

// The EXIF sub-IFD pointer seen and not yet walked.
struct PendingPointer {
    bool seen = false;
    std::uint32_t offset = 0;
};

struct Resolution {
    long double x;
    long double y;
    int unit = 0; // 0: not given
};

template <typename T> T FromFile(const TiffHeader& header, const uchar* bytes)
{
    return header.BigEndian() ? qFromBigEndian<T>(bytes) : qFromLittleEndian<T>(bytes);
}

std::string TagText(std::uint16_t tag)
{
    return QStringLiteral("%1").arg(tag, 4, 16, QLatin1Char('0')).toUpper().toStdString();
}

void CheckTypedRead(const TiffHeader& header, const IfdEntry& entry, std::uint16_t type, const char* typeName)
{
    if (header.magic != 42)
        throw ETiffError("TIFF not initialized or not a valid TIFF file");
    if (entry.count != 1)
        throw ETiffError("TIFF invalid count for this function !");
    if (entry.type != type)
        throw ETiffError(std::string("TIFF: Incompatible data (") + typeName + " expacted); TAG=" + TagText(entry.tag));
}

std::uint32_t ValueAsLong(const TiffHeader& header, const IfdEntry& entry)
{
    uchar bytes[4];
    std::memcpy(bytes, &entry.value, 4);
    return FromFile<quint32>(header, bytes);
}

// Applies one entry of the tag table; raises ETiffError for a typed read that does not fit.
void ApplyTag(QIODevice& file, const TiffHeader& header, Dialect dialect, const IfdEntry& entry, ImageInfo& info,
    Resolution& resolution, PendingPointer& exifPointer)
{
    const auto sizeValue
        = [&] { return std::int32_t(entry.type == 3 ? TiffReadShort(header, entry) : TiffReadLong(header, entry)); };
    switch (entry.tag) {
    case 256:
    case 40962:
        info.width = sizeValue();
        break;
    case 257:
    case 40963:
        info.height = sizeValue();
        break;
    case 262:
        switch (TiffReadShort(header, entry)) {
        case 0:
        case 1:
            info.bitsPerPixel = 1;
            break;
        case 2:
        case 3:
            info.bitsPerPixel = 24;
            break;
        case 5:
            info.bitsPerPixel = 32;
            break;
        default:
            break;
        }
        break;
    case 282:
        resolution.x = TiffReadRational(file, header, entry);
        break;
    case 283:
        resolution.y = TiffReadRational(file, header, entry);
        break;
    case 296:
        resolution.unit = TiffReadShort(header, entry);
        break;
    case 34665:
        if (dialect == Dialect::Tiff)
            info.hasExif = 1;
        else
            exifPointer = { true, TiffReadLong(header, entry) };
        break;
    default:
        break;
    }
}

// The orientation of the main picture: the first IFD's tag 274, one SHORT of 1 to 8. Any other
// form is ignored, not an error: the picture then keeps its stored orientation.
void ApplyOrientation(const TiffHeader& header, const IfdEntry& entry, ImageInfo& info)
{
    if (entry.tag != 274 || entry.type != 3 || entry.count != 1)
        return;
    const std::uint16_t orientation = TiffReadShort(header, entry);
    if (orientation >= 1 && orientation <= 8)
        info.orientation = std::uint8_t(orientation);
}

// Walks the IFD chain from the first IFD; for EXIF the chain is followed only while it stays
// inside the file, and the EXIF sub-IFD comes last.
bool WalkIfds(QIODevice& file, const TiffHeader& header, Dialect dialect, ImageInfo& info, Resolution& resolution)
{
    std::set<std::uint32_t> visited;
    PendingPointer exifPointer;
    std::vector<IfdEntry> entries;
    std::uint32_t offset = header.firstIfdOffset;
    try {
        while (visited.size() < std::size_t(kMaxIfds) && visited.insert(offset).second) {
            const qint64 where = header.baseOffset + offset;
            if (where >= file.size() || !file.seek(where) || !ReadIfd(file, header, entries))
                return false;
            const bool firstIfd = visited.size() == 1;
            for (const IfdEntry& entry : entries) {
                if (firstIfd)
                    ApplyOrientation(header, entry, info);
                ApplyTag(file, header, dialect, entry, info, resolution, exifPointer);
            }
            uchar nextBytes[4];
            if (!ReadExact(file, nextBytes, sizeof nextBytes))
                return false;
            const std::uint32_t next = FromFile<quint32>(header, nextBytes);
            const bool followNext = next != 0 && (dialect == Dialect::Tiff || header.baseOffset + next < file.size());
            if (followNext) {
                offset = next;
            } else if (exifPointer.seen) {
                offset = exifPointer.offset;
                exifPointer = {};
            } else {
                break;
            }
        }
    } catch (const ETiffError&) {
        return false;
    }
    return true;
}

void StoreResolution(Resolution resolution, ImageInfo& info)
{
    if (resolution.unit == 0)
        resolution.unit = 2;
    if (resolution.unit == 3) {
        resolution.x *= 2.54L;
        resolution.y *= 2.54L;
    }
    info.xDpi = RoundToInt32(resolution.x);
    info.yDpi = RoundToInt32(resolution.y);
}

} // namespace

bool ReadTiffHeader(QIODevice& file, TiffHeader& header)
{
    uchar bytes[8];
    header.baseOffset = file.pos();
    if (!ReadExact(file, bytes, sizeof bytes))
        return false;
    header.byteOrder = qFromLittleEndian<quint16>(bytes);
    if (header.byteOrder != 0x4949 && header.byteOrder != 0x4D4D)
        return false;
    header.magic = FromFile<quint16>(header, bytes + 2);
    header.firstIfdOffset = FromFile<quint32>(header, bytes + 4);
    return header.magic == 42;
}

bool ReadIfd(QIODevice& file, const TiffHeader& header, std::vector<IfdEntry>& entries)
{
    uchar countBytes[2];
    if (!ReadExact(file, countBytes, 2))
        return false;
    const int count = FromFile<quint16>(header, countBytes);
    QByteArray block;
    if (count == 0 || !ReadExact(file, block, qint64(count) * 12))
        return false;
    const auto* bytes = reinterpret_cast<const uchar*>(block.constData());
    entries.resize(std::size_t(count));
    for (int i = 0; i < count; ++i, bytes += 12) {
        IfdEntry& entry = entries[std::size_t(i)];
        entry.tag = FromFile<quint16>(header, bytes);
        entry.type = FromFile<quint16>(header, bytes + 2);
        entry.count = FromFile<quint32>(header, bytes + 4);
        std::memcpy(&entry.value, bytes + 8, 4);
    }
    return true;
}

std::uint32_t TiffReadLong(const TiffHeader& header, const IfdEntry& entry)
{
    CheckTypedRead(header, entry, 4, "LONG");
    return ValueAsLong(header, entry);
}

std::uint16_t TiffReadShort(const TiffHeader& header, const IfdEntry& entry)
{
    CheckTypedRead(header, entry, 3, "SHORT");
    uchar bytes[4];
    std::memcpy(bytes, &entry.value, 4);
    return FromFile<quint16>(header, bytes);
}

long double TiffReadRational(QIODevice& file, const TiffHeader& header, const IfdEntry& entry)
{
    CheckTypedRead(header, entry, 5, "RATIONAL");
    const qint64 where = header.baseOffset + ValueAsLong(header, entry);
    const qint64 resume = file.pos();
    uchar bytes[8];
    if (where >= file.size() || !file.seek(where) || !ReadExact(file, bytes, sizeof bytes))
        throw ETiffError("TIFF: rational value outside the file");
    if (!file.seek(resume))
        throw ETiffError("TIFF: cannot return after a rational value");
    const std::uint32_t numerator = FromFile<quint32>(header, bytes);
    const std::uint32_t denominator = FromFile<quint32>(header, bytes + 4);
    return denominator == 0 ? 0.0L : static_cast<long double>(numerator) / denominator;
}

bool ReadTiffInfo(QIODevice& file, ImageInfo& info)
{
    TiffHeader header;
    if (!file.seek(0) || !ReadTiffHeader(file, header))
        return false;
    Resolution resolution { 72.0L, 72.0L };
    if (!WalkIfds(file, header, Dialect::Tiff, info, resolution))
        return false;
    StoreResolution(resolution, info);
    return true;
}

bool ReadExifTiff(QIODevice& file, ImageInfo& info)
{
    TiffHeader header;
    if (!ReadTiffHeader(file, header))
        return false;
    Resolution resolution { 0.0L, 0.0L };
    if (!WalkIfds(file, header, Dialect::Exif, info, resolution))
        return false;
    StoreResolution(resolution, info);
    return true;
}
