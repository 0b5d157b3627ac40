#include "imaging/containerinfo.h"

#include "imaging/exactread.h"
#include "imaging/tiffinfo.h"

#include <QByteArray>
#include <QIODevice>
#include <QtEndian>

#include <algorithm>
#include <cstring>
#include <limits>
#include <utility>
#include <vector>

namespace {

// A phone's meta box holds item locations and properties: a few kilobytes, more for a picture
// of many tiles. Anything above this is not read.
constexpr qint64 kMaxMetaBytes = qint64(16) << 20;
// Property indices are at most 15 bits wide; no box holds more children than that.
constexpr std::size_t kMaxChildren = 0x7FFF;

// A box of an ISO base media file: its type and the range of its payload.
struct Box {
    char type[4];
    qint64 begin;
    qint64 end;

    bool Is(const char* name) const { return std::memcmp(type, name, 4) == 0; }
};

// The box whose header starts at `at`, where `header` holds its first min(16, room) bytes and
// `room` is what is left of its parent; false when it is no whole box of that parent. A size of
// 1 means a 64-bit size follows, 0 that the box runs to the parent's end.
bool ParseBox(const uchar* header, qint64 at, qint64 room, Box& box)
{
    if (room < 8)
        return false;
    quint64 size = qFromBigEndian<quint32>(header);
    qint64 headerSize = 8;
    if (size == 1) {
        if (room < 16)
            return false;
        size = qFromBigEndian<quint64>(header + 8);
        headerSize = 16;
    } else if (size == 0) {
        size = quint64(room);
    }
    if (size < quint64(headerSize) || size > quint64(room))
        return false;
    std::memcpy(box.type, header + 4, 4);
    box.begin = at + headerSize;
    box.end = at + qint64(size);
    return true;
}

// The children of a box held in memory, in file order.
std::vector<Box> Children(const QByteArray& bytes, qint64 begin, qint64 end)
{
    std::vector<Box> boxes;
    const auto* data = reinterpret_cast<const uchar*>(bytes.constData());
    Box box {};
    for (qint64 at = begin; boxes.size() < kMaxChildren && ParseBox(data + at, at, end - at, box); at = box.end)
        boxes.push_back(box);
    return boxes;
}

const Box* FindBox(const std::vector<Box>& boxes, const char* type)
{
    const auto found = std::find_if(boxes.begin(), boxes.end(), [&](const Box& box) { return box.Is(type); });
    return found == boxes.end() ? nullptr : &*found;
}

// Big-endian reads from a range of bytes in memory that fail instead of leaving it.
class Reader {
public:
    Reader(const QByteArray& bytes, qint64 begin, qint64 end)
        : data_(reinterpret_cast<const uchar*>(bytes.constData()))
        , at_(begin)
        , end_(end)
    {
    }

    bool Read(int bytes, quint32& value)
    {
        if (end_ - at_ < bytes)
            return false;
        value = 0;
        for (int i = 0; i < bytes; ++i)
            value = value << 8 | data_[at_++];
        return true;
    }

private:
    const uchar* data_;
    qint64 at_;
    qint64 end_;
};

// The property indices (1-based, in order) that ipma associates with the item.
std::vector<quint32> AssociatedProperties(const QByteArray& meta, const Box& ipma, quint32 item)
{
    Reader reader(meta, ipma.begin, ipma.end);
    quint32 versionAndFlags = 0, entries = 0;
    if (!reader.Read(4, versionAndFlags) || !reader.Read(4, entries))
        return {};
    const int idBytes = versionAndFlags >> 24 == 0 ? 2 : 4;
    const int indexBytes = versionAndFlags & 1 ? 2 : 1;
    const quint32 indexMask = indexBytes == 2 ? 0x7FFF : 0x7F; // the top bit marks essential ones
    for (quint32 entry = 0; entry < entries; ++entry) {
        quint32 id = 0, count = 0;
        if (!reader.Read(idBytes, id) || !reader.Read(1, count))
            return {};
        std::vector<quint32> indices;
        for (quint32 i = 0; i < count; ++i) {
            quint32 index = 0;
            if (!reader.Read(indexBytes, index))
                return {};
            indices.push_back(index & indexMask);
        }
        if (id == item)
            return indices;
    }
    return {};
}

// n / d rounded half up, the way libheif sizes a clean aperture; 0 for anything not positive.
std::int32_t RoundedFraction(quint32 numerator, quint32 denominator)
{
    const qint64 n = qint32(numerator), d = qint32(denominator);
    if (n <= 0 || d <= 0)
        return 0;
    return std::int32_t(std::min<qint64>((n + d / 2) / d, std::numeric_limits<std::int32_t>::max()));
}

std::int32_t ClampedSide(quint32 side)
{
    return std::int32_t(std::min<quint32>(side, quint32(std::numeric_limits<std::int32_t>::max())));
}

// Applies the primary item's properties in their order: ispe gives the coded size, clap crops
// it, an odd number of quarter turns (irot) exchanges the sides; mirrors (imir) keep them.
bool ApplyItemProperties(
    const QByteArray& meta, const std::vector<Box>& properties, const std::vector<quint32>& indices, ImageInfo& info)
{
    bool sized = false;
    for (const quint32 index : indices) {
        if (index == 0 || index > properties.size())
            continue;
        const Box& property = properties[index - 1];
        Reader reader(meta, property.begin, property.end);
        quint32 values[8] = {};
        if (property.Is("ispe")) {
            if (reader.Read(4, values[0]) && reader.Read(4, values[1]) && reader.Read(4, values[2])) {
                info.width = ClampedSide(values[1]);
                info.height = ClampedSide(values[2]);
                sized = true;
            }
        } else if (property.Is("clap") && sized) {
            bool whole = true;
            for (quint32& value : values)
                whole = whole && reader.Read(4, value);
            const std::int32_t width = RoundedFraction(values[0], values[1]);
            const std::int32_t height = RoundedFraction(values[2], values[3]);
            if (whole && width > 0 && height > 0) {
                info.width = width;
                info.height = height;
            }
        } else if (property.Is("irot")) {
            if (reader.Read(1, values[0]) && (values[0] & 1) != 0)
                std::swap(info.width, info.height);
        }
    }
    return sized;
}

// The top-level box of the given type, read into memory (its payload only).
bool ReadTopLevelBox(QIODevice& file, const char* type, qint64 limit, QByteArray& payload)
{
    const qint64 size = file.size();
    Box box {};
    for (qint64 at = 0; at < size; at = box.end) {
        uchar header[16] = {};
        const qint64 room = size - at;
        if (!file.seek(at) || !ReadExact(file, header, std::min<qint64>(room, sizeof header))
            || !ParseBox(header, at, room, box))
            return false;
        if (box.Is(type))
            return box.end - box.begin <= limit && file.seek(box.begin)
                && ReadExact(file, payload, box.end - box.begin);
    }
    return false;
}

// The primary item of a HEIF file: its meta box and the properties associated with it.
struct TPrimaryItem {
    QByteArray meta;
    std::vector<Box> properties; // the children of ipco, in order
    std::vector<quint32> indices; // what ipma associates with the item, 1-based, in order
};

// Reads the primary item; kind is set to kKindHeif in info (when given) once the file type box
// is found.
bool ReadPrimaryItem(QIODevice& file, TPrimaryItem& item, ImageInfo* info)
{
    uchar start[8];
    if (!file.seek(0) || !ReadExact(file, start, sizeof start) || std::memcmp(start + 4, "ftyp", 4) != 0)
        return false;
    if (info != nullptr)
        info->kind = kKindHeif;
    if (!ReadTopLevelBox(file, "meta", kMaxMetaBytes, item.meta))
        return false;
    const QByteArray& meta = item.meta;
    // meta is a full box: version and flags come before its children.
    const std::vector<Box> boxes = Children(meta, 4, meta.size());
    const Box* pitm = FindBox(boxes, "pitm");
    const Box* iprp = FindBox(boxes, "iprp");
    if (pitm == nullptr || iprp == nullptr)
        return false;
    Reader primary(meta, pitm->begin, pitm->end);
    quint32 versionAndFlags = 0, id = 0;
    if (!primary.Read(4, versionAndFlags) || !primary.Read(versionAndFlags >> 24 == 0 ? 2 : 4, id))
        return false;
    const std::vector<Box> iprpBoxes = Children(meta, iprp->begin, iprp->end);
    const Box* ipco = FindBox(iprpBoxes, "ipco");
    const Box* ipma = FindBox(iprpBoxes, "ipma");
    if (ipco == nullptr || ipma == nullptr)
        return false;
    item.properties = Children(meta, ipco->begin, ipco->end);
    item.indices = AssociatedProperties(meta, *ipma, id);
    return true;
}

} // namespace

bool ReadHeifHeaderInfo(QIODevice& file, ImageInfo& info)
{
    TPrimaryItem primary;
    if (!ReadPrimaryItem(file, primary, &info))
        return false;
    if (!ApplyItemProperties(primary.meta, primary.properties, primary.indices, info))
        return false;
    info.bitsPerPixel = 24;
    info.orientation = 1; // libheif turns and mirrors while decoding
    return true;
}

bool ReadHeifProfile(QIODevice& file, QByteArray& profile)
{
    profile.clear();
    TPrimaryItem primary;
    if (!ReadPrimaryItem(file, primary, nullptr))
        return false;
    for (const quint32 index : primary.indices) {
        if (index == 0 || index > primary.properties.size())
            continue;
        const Box& property = primary.properties[index - 1];
        // A colour box holds its kind, then for "prof" (restricted: "rICC") the ICC profile.
        if (!property.Is("colr") || property.end - property.begin <= 4)
            continue;
        const QByteArray kind = primary.meta.mid(property.begin, 4);
        if (kind == "prof" || kind == "rICC") {
            profile = primary.meta.mid(property.begin + 4, property.end - property.begin - 4);
            return true;
        }
    }
    return false;
}

bool ReadWebpHeaderInfo(QIODevice& file, ImageInfo& info)
{
    uchar riff[12];
    if (!file.seek(0) || !ReadExact(file, riff, sizeof riff) || std::memcmp(riff, "RIFF", 4) != 0
        || std::memcmp(riff + 8, "WEBP", 4) != 0)
        return false;
    info.kind = kKindWebp;
    bool canvas = false, alpha = false, sized = false;
    const qint64 size = file.size();
    for (qint64 at = 12; size - at >= 8;) {
        uchar chunk[18] = {}; // the header and the first 10 bytes of the payload
        if (!file.seek(at) || !ReadExact(file, chunk, std::min<qint64>(size - at, sizeof chunk)))
            break;
        const qint64 length = qFromLittleEndian<quint32>(chunk + 4);
        const qint64 available = std::min(length, size - at - 8);
        const uchar* payload = chunk + 8;
        if (std::memcmp(chunk, "VP8X", 4) == 0 && available >= 10) {
            // Extended file: the canvas size wins over any frame's.
            alpha = (payload[0] & 0x10) != 0;
            info.width = 1 + std::int32_t(payload[4] | payload[5] << 8 | payload[6] << 16);
            info.height = 1 + std::int32_t(payload[7] | payload[8] << 8 | payload[9] << 16);
            canvas = sized = true;
        } else if (std::memcmp(chunk, "VP8 ", 4) == 0 && available >= 10 && !canvas
            && std::memcmp(payload + 3, "\x9d\x01\x2a", 3) == 0) {
            // Lossy frame: after the frame tag and start code, 14-bit sides (2 bits of scale above).
            info.width = qFromLittleEndian<quint16>(payload + 6) & 0x3FFF;
            info.height = qFromLittleEndian<quint16>(payload + 8) & 0x3FFF;
            sized = true;
        } else if (std::memcmp(chunk, "VP8L", 4) == 0 && available >= 5 && !canvas && payload[0] == 0x2F) {
            // Lossless frame: 14 bits each of width - 1 and height - 1, then the alpha hint.
            const quint32 bits = qFromLittleEndian<quint32>(payload + 1);
            info.width = std::int32_t(bits & 0x3FFF) + 1;
            info.height = std::int32_t(bits >> 14 & 0x3FFF) + 1;
            alpha = (bits >> 28 & 1) != 0;
            sized = true;
        } else if (std::memcmp(chunk, "EXIF", 4) == 0 && available >= 8) {
            // The TIFF structure, after an "Exif\0\0" signature that some writers keep.
            const qint64 tiff = at + 8 + (std::memcmp(payload, "Exif\0\0", 6) == 0 ? 6 : 0);
            ImageInfo exif {};
            if (file.seek(tiff))
                info.hasExif = ReadExifTiff(file, exif) ? 1 : 0;
            info.orientation = exif.orientation;
        }
        at += 8 + length + (length & 1); // chunks are padded to an even size
    }
    info.bitsPerPixel = alpha ? 32 : 24;
    return sized;
}
