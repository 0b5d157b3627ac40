// HEIF (ISO base media boxes, with the primary item's colour profile) and WebP (RIFF chunks with an EXIF chunk) header
// facts; the first byte picks the reader, the rest is the file.
#include "imaging/containerinfo.h"
#include "tests/fuzz/fuzzfile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    ImageInfo info {};
    ReadWithChosenReader(
        data, size,
        [&](QIODevice& file) {
            ReadHeifHeaderInfo(file, info);
            QByteArray profile;
            ReadHeifProfile(file, profile);
        },
        [&](QIODevice& file) { ReadWebpHeaderInfo(file, info); });
    return 0;
}
