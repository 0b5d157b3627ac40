// The WebP decoder that calls libwebp directly, on any file as a ".webp".
#include "imaging/webpdecoder.h"
#include "tests/fuzz/fuzzfile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    QImage picture;
    DecodeWebpDirectly(WriteFuzzFile(data, size, "webp"), picture);
    return 0;
}
