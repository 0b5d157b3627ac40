// The lab's shop list file: any bytes.
#include "core/log.h"
#include "lab/shoplist.h"
#include "tests/fuzz/fuzzfile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    TShopList shops;
    shops.LoadFromFile(WriteFuzzFile(data, size, "txt"));
    for (int i = 0; i < shops.Count(); ++i)
        shops.IndexOfID(shops.ids.Get(i));
    LogStore().Clear();
    return 0;
}
