// HEIF (ISO base media boxes) and WebP (RIFF chunks with an EXIF chunk) header facts; the first
// byte picks the reader, the rest is the file.
#include "imaging/containerinfo.h"
#include "tests/fuzz/fuzzfile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    ImageInfo info {};
    ReadFromBuffer(data + 1, size - 1, [&](QIODevice& file) {
        if (data[0] & 1)
            ReadWebpHeaderInfo(file, info);
        else
            ReadHeifHeaderInfo(file, info);
    });
    return 0;
}
