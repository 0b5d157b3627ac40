// The ICC profile chunks of a JPEG (APP2 "ICC_PROFILE" segments before the start of scan).
#include "imaging/jpegprofile.h"
#include "tests/fuzz/fuzzfile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    QByteArray profile;
    ReadFromBuffer(data, size, [&](QIODevice& file) { ReadJpegProfile(file, profile); });
    return 0;
}
