// The lab's shop list file: any bytes.
#include "core/log.h"
#include "lab/shoplist.h"
#include "tests/fuzz/fuzzfile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    TShopList shops;
    shops.LoadFromFile(WriteFuzzFile(data, size, "txt"));
    for (const TShop& shop : shops.Shops())
        shops.IndexOfID(shop.id);
    LogStore().Clear();
    return 0;
}
