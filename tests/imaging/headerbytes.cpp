#include "tests/imaging/headerbytes.h"

#include <QtEndian>

namespace headerbytes {
namespace {

class Writer {
public:
    explicit Writer(bool bigEndian)
        : big_(bigEndian)
    {
    }
    void U16(std::uint16_t v)
    {
        uchar b[2];
        big_ ? qToBigEndian(v, b) : qToLittleEndian(v, b);
        bytes.append(reinterpret_cast<const char*>(b), 2);
    }
    void U32(std::uint32_t v)
    {
        uchar b[4];
        big_ ? qToBigEndian(v, b) : qToLittleEndian(v, b);
        bytes.append(reinterpret_cast<const char*>(b), 4);
    }
    // A SHORT value sits in the first two bytes of the value field, in file order.
    void Value(const Tag& tag, std::uint32_t value)
    {
        if (tag.type == 3) {
            U16(std::uint16_t(value));
            U16(0);
        } else {
            U32(value);
        }
    }
    QByteArray bytes;

private:
    bool big_;
};

std::uint32_t IfdSize(const std::vector<Tag>& ifd)
{
    std::uint32_t size = 2 + 12 * std::uint32_t(ifd.size()) + 4;
    for (const Tag& tag : ifd)
        if (tag.type == 5)
            size += 8;
    return size;
}

void WriteIfd(Writer& out, const std::vector<Tag>& ifd, std::uint32_t at, std::uint32_t next, std::uint32_t subIfd)
{
    std::uint32_t rationalAt = at + 2 + 12 * std::uint32_t(ifd.size()) + 4;
    out.U16(std::uint16_t(ifd.size()));
    for (const Tag& tag : ifd) {
        out.U16(tag.tag);
        out.U16(tag.type);
        out.U32(1);
        if (tag.type == 5) {
            out.U32(rationalAt);
            rationalAt += 8;
        } else {
            out.Value(tag, tag.value == kSubIfd ? subIfd : tag.value);
        }
    }
    out.U32(next);
    for (const Tag& tag : ifd)
        if (tag.type == 5) {
            out.U32(tag.value);
            out.U32(tag.denominator);
        }
}

} // namespace

QByteArray Tiff(
    bool bigEndian, const std::vector<std::vector<Tag>>& ifds, const std::vector<Tag>& subIfd, std::uint32_t nextOfLast)
{
    Writer out(bigEndian);
    out.bytes.append(bigEndian ? "MM" : "II");
    out.U16(42);
    out.U32(8);
    std::vector<std::uint32_t> offsets;
    std::uint32_t at = 8;
    for (const auto& ifd : ifds) {
        offsets.push_back(at);
        at += IfdSize(ifd);
    }
    const std::uint32_t subIfdAt = at;
    for (std::size_t i = 0; i < ifds.size(); ++i) {
        const std::uint32_t next = i + 1 < ifds.size() ? offsets[i + 1] : nextOfLast;
        WriteIfd(out, ifds[i], offsets[i], next, subIfdAt);
    }
    if (!subIfd.empty())
        WriteIfd(out, subIfd, subIfdAt, 0, subIfdAt);
    return out.bytes;
}

QByteArray Segment(std::uint8_t code, const QByteArray& payload)
{
    QByteArray segment;
    segment.append(char(0xFF)).append(char(code));
    uchar length[2];
    qToBigEndian(std::uint16_t(payload.size() + 2), length);
    segment.append(reinterpret_cast<const char*>(length), 2);
    return segment + payload;
}

QByteArray JfifPayload(std::uint8_t minor, std::uint8_t units, std::uint16_t xDensity, std::uint16_t yDensity)
{
    QByteArray payload("JFIF", 5);
    payload.append(char(1)).append(char(minor)).append(char(units));
    uchar d[4];
    qToBigEndian(xDensity, d);
    qToBigEndian(yDensity, d + 2);
    payload.append(reinterpret_cast<const char*>(d), 4);
    payload.append(char(0)).append(char(0));
    return payload;
}

namespace {
int App0End(const QByteArray& jpeg)
{
    if (uchar(jpeg[2]) == 0xFF && uchar(jpeg[3]) == 0xE0)
        return 4 + qFromBigEndian<quint16>(reinterpret_cast<const uchar*>(jpeg.constData()) + 4);
    return 2;
}
} // namespace

QByteArray WithExif(const QByteArray& jpeg, const QByteArray& tiff)
{
    const int at = App0End(jpeg);
    return jpeg.left(at) + Segment(0xE1, QByteArray("Exif\0\0", 6) + tiff) + jpeg.mid(at);
}

QByteArray WithoutJfif(const QByteArray& jpeg)
{
    return jpeg.left(2) + jpeg.mid(App0End(jpeg));
}

} // namespace headerbytes
