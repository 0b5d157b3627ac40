// Working-copy files: any header, any size; nothing may be allocated for a lying header. The
// same file is also read a few rows at a time, as the print render reads it.
#include "imaging/workingcopy.h"
#include "tests/fuzz/fuzzfile.h"

#include <algorithm>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QString path = WriteFuzzFile(data, size, "sbm");
    QImage picture;
    LoadWorkingBitmap(picture, path);
    TWorkingCopyRows rows;
    if (rows.Open(path)) {
        constexpr int kBand = 3;
        std::vector<std::uint32_t> band(std::size_t(rows.Width()) * kBand);
        for (int first = -1; first <= rows.Height(); first += kBand)
            rows.Read(first, std::min(kBand, rows.Height() - first), band);
    }
    return 0;
}
