// BMP and PSD header facts; the first byte picks the reader, the rest is the file.
#include "imaging/imageinfo.h"
#include "tests/fuzz/fuzzfile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    ImageInfo info {};
    ReadWithChosenReader(
        data, size, [&](QIODevice& file) { ReadBmpHeaderInfo(file, info); },
        [&](QIODevice& file) { ReadPsdHeaderInfo(file, info); });
    return 0;
}
