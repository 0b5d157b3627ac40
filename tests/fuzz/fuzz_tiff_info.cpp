// TIFF header facts: header, IFD chains (loops, far offsets), typed reads, rationals.
#include "imaging/tiffinfo.h"
#include "tests/fuzz/fuzzfile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    ImageInfo info {};
    ReadFromBuffer(data, size, [&](QIODevice& file) { ReadTiffInfo(file, info); });
    return 0;
}
