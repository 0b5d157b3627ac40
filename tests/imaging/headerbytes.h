#pragma once
// Builders of file bytes for the header-reader tests: TIFF structures in either byte order,
// EXIF blocks spliced into real JPEG files, and raw JPEG segments.
#include <QByteArray>

#include <cstdint>
#include <vector>

namespace headerbytes {

// One IFD entry. A RATIONAL (type 5) stores numerator / denominator after its IFD; the value
// kSubIfd in a 34665 entry is replaced by the offset of the sub-IFD.
struct Tag {
    std::uint16_t tag;
    std::uint16_t type;
    std::uint32_t value = 0;
    std::uint32_t denominator = 1;
};
inline constexpr std::uint32_t kSubIfd = 0xFFFFFFFF;

// A TIFF structure ("II" or "MM"): the IFDs chained in order, then the sub-IFD (if any, not
// chained). nextOfLast overrides the last IFD's next offset (0 ends the chain).
QByteArray Tiff(bool bigEndian, const std::vector<std::vector<Tag>>& ifds, const std::vector<Tag>& subIfd = {},
    std::uint32_t nextOfLast = 0);

// A JPEG segment: FF code, big-endian length, payload.
QByteArray Segment(std::uint8_t code, const QByteArray& payload);

// A JFIF APP0 payload of version 1.minor with the given units and densities.
QByteArray JfifPayload(std::uint8_t minor, std::uint8_t units, std::uint16_t xDensity, std::uint16_t yDensity);

// jpeg with its APP0 (when it starts with one) followed by an APP1 "Exif" segment holding tiff.
QByteArray WithExif(const QByteArray& jpeg, const QByteArray& tiff);

// jpeg with its APP0 segment removed.
QByteArray WithoutJfif(const QByteArray& jpeg);

} // namespace headerbytes
