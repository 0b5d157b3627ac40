// The record of an unfinished order (unfinished.txt) from any bytes. A record that reads must
// be written back byte for byte as it was read (the reader takes nothing the writer would not
// write), and its files must be plain names of the order in its folder.
#include "order/unfinishedorder.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    const std::optional<TUnfinishedOrder> order = ParseUnfinishedOrder(bytes);
    if (!order)
        return 0;
    if (UnfinishedOrderBytes(*order) != bytes || order->files.empty() || order->sent < 0
        || std::size_t(order->sent) > order->files.size())
        std::abort();
    for (const QString& path : order->Paths())
        if (!path.startsWith(order->folder + "/" + order->orderId + "_") || path.contains(QLatin1String("..")))
            std::abort();
    UnfinishedOrderQuestion(*order);
    return 0;
}
