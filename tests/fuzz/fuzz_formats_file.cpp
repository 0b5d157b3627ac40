// The lab's formats file: any bytes. Whatever loads is turned into sheets at the highest
// output resolution, where a side out of range would overflow.
#include "core/log.h"
#include "lab/formats.h"
#include "tests/fuzz/fuzzfile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    TFormats formats;
    formats.LoadFormats(WriteFuzzFile(data, size, "txt"));
    for (const TFormat& format : formats.Formats()) {
        TRect rect;
        formats.GetRect(format.id, 600, rect);
        formats.GetPrice(format.id);
    }
    LogStore().Clear();
    return 0;
}
