// An embedded ICC profile as the decoder hands it over: converting a small picture from it to
// sRGB (lcms2's reading and linking, and the matrix-shaper transform's own tables and loop).
#include "imaging/colourprofile.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    QImage picture(37, 5, QImage::Format_BGR888);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width() * 3; ++x)
            picture.scanLine(y)[x] = std::uint8_t(x * 7 + y * 101);
    ConvertProfileToSrgb(picture, QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    return 0;
}
