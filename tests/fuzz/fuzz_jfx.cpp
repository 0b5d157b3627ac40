// The JPEG bridge: properties, then decoding into a buffer of the reported size. Pictures above
// 64 MB are only measured, so that the fuzzer spends its time on structure, not on memory.
#include "jfxlib.h"
#include "tests/fuzz/fuzzfile.h"

#include <QFile>

#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray path = QFile::encodeName(WriteFuzzFile(data, size, "jpg"));
    JfxProperties properties {};
    if (JfxGetProperties(path.constData(), &properties) != JFX_OK || properties.bufferSize > (64 << 20))
        return 0;
    std::vector<unsigned char> buffer(std::size_t(properties.bufferSize));
    JfxReadImageChecked(path.constData(), buffer.data(), &properties);
    return 0;
}
