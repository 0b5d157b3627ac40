// JPEG header facts (marker walk, JFIF, frame header, EXIF with its IFD chains) and the
// in-place density stamp.
#include "imaging/jpeginfo.h"
#include "tests/fuzz/fuzzfile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    ImageInfo info {};
    ReadFromBuffer(data, size, [&](QIODevice& file) { ReadJpegInfo(file, info); });
    StampJpegDensity(WriteFuzzFile(data, size, "jpg"), 300);
    return 0;
}
