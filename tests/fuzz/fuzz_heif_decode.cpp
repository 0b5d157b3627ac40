// The HEIF and AVIF decoder that calls libheif directly, on any file as a ".heic".
#include "imaging/heifdecoder.h"
#include "tests/fuzz/fuzzfile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    QImage picture;
    DecodeHeifDirectly(WriteFuzzFile(data, size, "heic"), picture);
    return 0;
}
