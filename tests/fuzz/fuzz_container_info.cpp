// HEIF (ISO base media boxes) and WebP (RIFF chunks with an EXIF chunk) header facts; the first
// byte picks the reader, the rest is the file.
#include "imaging/containerinfo.h"
#include "tests/fuzz/fuzzfile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    ImageInfo info {};
    ReadWithChosenReader(
        data, size, [&](QIODevice& file) { ReadHeifHeaderInfo(file, info); },
        [&](QIODevice& file) { ReadWebpHeaderInfo(file, info); });
    return 0;
}
