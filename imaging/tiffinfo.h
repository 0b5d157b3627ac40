#pragma once
// TIFF headers and IFD chains, for TIFF files and for the TIFF structure inside a JPEG's EXIF
// block. All offsets are relative to the header's baseOffset.
#include "imaging/imageinfo.h"

#include <QString>

#include <cstdint>
#include <stdexcept>
#include <vector>

class QIODevice;

struct TiffHeader {
    std::uint16_t byteOrder = 0; // 0x4949 "II" little-endian, 0x4D4D "MM" big-endian
    std::uint16_t magic = 0; // 42
    std::uint32_t firstIfdOffset = 0;
    std::int64_t baseOffset = 0; // file position of the header
    bool BigEndian() const { return byteOrder == 0x4D4D; }
};

// As stored: tag, type and count in host order, value still in file byte order.
struct IfdEntry {
    std::uint16_t tag;
    std::uint16_t type;
    std::uint32_t count;
    std::uint32_t value;
};

// A typed read that does not fit the entry ("TIFF: Incompatible data (LONG expacted); TAG=0100").
// Internal: the readers turn it into a false result; it is neither shown nor logged.
class ETiffError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Reads 8 bytes at the current position: byte order, magic 42, first IFD offset; baseOffset
// is that position. False for anything else.
bool ReadTiffHeader(QIODevice& file, TiffHeader& header);

// Reads the entries of the IFD at the current position, leaving the position at the offset of
// the next IFD. False when it cannot be read completely or has no entries.
bool ReadIfd(QIODevice& file, const TiffHeader& header, std::vector<IfdEntry>& entries);

// Typed reads of a single-valued entry; they raise ETiffError.
std::uint32_t TiffReadLong(const TiffHeader& header, const IfdEntry& entry);
std::uint16_t TiffReadShort(const TiffHeader& header, const IfdEntry& entry);
// numerator / denominator (0 when the denominator is 0), read where the entry points; the
// file position is kept. Raises when the value lies outside the file.
long double TiffReadRational(QIODevice& file, const TiffHeader& header, const IfdEntry& entry);

// Size, photometric bit depth, resolution (unit inches unless centimetres) and EXIF presence
// of a TIFF file. Every IFD of the chain is walked, later ones replacing earlier values; the
// orientation is the first IFD's (that of the main picture).
bool ReadTiffInfo(QIODevice& file, ImageInfo& info);

// The TIFF structure of an EXIF block whose header starts at the current position: the IFD
// chain (followed only while it stays inside the file), then the EXIF sub-IFD, whose pixel
// dimensions therefore win. Resolution starts at 0; the orientation is the first IFD's.
bool ReadExifTiff(QIODevice& file, ImageInfo& info);
