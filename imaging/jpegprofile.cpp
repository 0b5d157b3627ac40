#include "imaging/jpegprofile.h"

#include "imaging/exactread.h"
#include "imaging/jpeginfo.h"

#include <cstdint>
#include <vector>

namespace {

constexpr std::uint8_t kApp2 = 0xE2, kStartOfScan = 0xDA, kEndOfImage = 0xD9;
constexpr char kSignature[] = "ICC_PROFILE"; // followed by its terminating zero in the file
constexpr qsizetype kSignatureSize = sizeof kSignature; // 12, the zero included
constexpr qsizetype kChunkHeaderSize = kSignatureSize + 2; // signature, sequence number, count

bool IsProfileChunk(const QByteArray& payload)
{
    return payload.size() >= kSignatureSize
        && QByteArrayView(payload).first(kSignatureSize) == QByteArrayView(kSignature, kSignatureSize);
}

} // namespace

JpegProfileChunks ReadJpegProfile(QIODevice& file, QByteArray& profile)
{
    profile.clear();
    if (!OpenJpeg(file))
        return JpegProfileChunks::None;
    std::vector<QByteArray> chunks; // by sequence number - 1
    std::vector<bool> seen;
    bool found = false;
    for (;;) {
        std::uint8_t code = 0;
        std::uint16_t length = 0;
        if (!ReadMarker(file, code, length) || code == kStartOfScan || code == kEndOfImage)
            break;
        if (code != kApp2) {
            if (!SkipSegment(file, length))
                break;
            continue;
        }
        QByteArray payload;
        if (length < 2 || !ReadExact(file, payload, length - 2))
            break;
        if (!IsProfileChunk(payload))
            continue;
        if (payload.size() < kChunkHeaderSize)
            return JpegProfileChunks::Broken;
        const int sequence = std::uint8_t(payload[kSignatureSize]);
        const int count = std::uint8_t(payload[kSignatureSize + 1]);
        if (!found) {
            found = true;
            chunks.resize(std::size_t(count));
            seen.assign(std::size_t(count), false);
        }
        if (count != int(chunks.size()) || sequence < 1 || sequence > count || seen[std::size_t(sequence - 1)])
            return JpegProfileChunks::Broken;
        seen[std::size_t(sequence - 1)] = true;
        chunks[std::size_t(sequence - 1)] = payload.sliced(kChunkHeaderSize);
    }
    if (!found)
        return JpegProfileChunks::None;
    for (std::size_t i = 0; i < chunks.size(); ++i) {
        if (!seen[i]) {
            profile.clear();
            return JpegProfileChunks::Broken;
        }
        profile += chunks[i];
    }
    return profile.isEmpty() ? JpegProfileChunks::Broken : JpegProfileChunks::Whole;
}
