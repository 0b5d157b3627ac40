// Working-copy files: any header, any size; nothing may be allocated for a lying header.
#include "imaging/workingcopy.h"
#include "tests/fuzz/fuzzfile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    QImage picture;
    LoadWorkingBitmap(picture, WriteFuzzFile(data, size, "sbm"));
    return 0;
}
