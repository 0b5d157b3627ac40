// The order's files read back from any bytes: a history entry file (<id>_hist.dat) with the
// details the history window shows of it, and an order's metadata as the lab's check reads it.
// An entry that reads must read again the same after being written and shows at most one photo
// row per "rddata" line; metadata that passes names exactly count plain file names.
#include "core/log.h"
#include "order/historyfile.h"
#include "order/historyview.h"
#include "order/metadatareader.h"
#include "order/ordercheck.h"
#include "tests/fuzz/fuzzfile.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    LogStore().Clear(); // the readers log what they refuse
    ReadFromBuffer(data, size, [](QIODevice& file) {
        THistoryEntryData entry;
        if (!ReadHistoryEntry(file, entry))
            return;
        QBuffer written;
        written.open(QIODevice::ReadWrite);
        THistoryEntryData again;
        if (!WriteHistoryEntry(written, entry) || !written.seek(0) || !ReadHistoryEntry(written, again)
            || again.id != entry.id || again.lines != entry.lines || again.pageCount != entry.pageCount)
            std::abort();
        const std::size_t fixedRows = HistoryDetails({}).size();
        if (HistoryDetails(entry.lines).size() > fixedRows + std::size_t(MetadataValues(entry.lines, "rddata").size()))
            std::abort();
    });
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    const TOrderMetadata metadata = ParseOrderMetadata(bytes, MetadataValue(ReadMetadataLines(bytes), "oid"));
    if (metadata.ok && metadata.files.size() != metadata.count)
        std::abort();
    for (const QString& name : metadata.files)
        if (name.contains(u'/') || name.contains(u'\\') || name == QLatin1String(".."))
            std::abort();
    return 0;
}
