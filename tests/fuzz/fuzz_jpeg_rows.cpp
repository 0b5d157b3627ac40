// The banded JPEG decoder that adding uses: open, every row in bands, finish. Pictures above
// 16 M pixels are only opened, so that the fuzzer spends its time on structure.
#include "imaging/jpegrows.h"
#include "tests/fuzz/fuzzfile.h"

#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    TJpegRows rows;
    if (!rows.Open(WriteFuzzFile(data, size, "jpg")) || std::int64_t(rows.Width()) * rows.Height() > (1 << 24))
        return 0;
    constexpr int kBandRows = 32;
    std::vector<std::uint32_t> band(std::size_t(rows.Width()) * kBandRows);
    while (rows.Read(band.data(), rows.Width(), kBandRows) > 0) { }
    rows.Finish();
    return 0;
}
