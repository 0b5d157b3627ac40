#include "order/historyfile.h"

#include "core/log.h"
#include "platform/binrecords.h"

#include <algorithm>

namespace {

const char* const kEntryHeader = "VD: history file";

bool PlainId(const QString& id)
{
    return !id.isEmpty() && std::all_of(id.begin(), id.end(), [](QChar c) {
        return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || c == u'_'
            || c == u'-';
    });
}

} // namespace

bool WriteHistoryEntry(QIODevice& file, const THistoryEntryData& entry)
{
    return WriteLenString(file, QLatin1String(kEntryHeader)) && WriteLenString(file, entry.id)
        && WriteStringList(file, entry.lines) && WriteInt32(file, entry.pageCount);
}

bool ReadHistoryEntry(QIODevice& file, THistoryEntryData& entry)
{
    QString header;
    ReadLenString(file, header, kHistoryIdMaxBytes);
    if (header != QLatin1String(kEntryHeader)) {
        Log(QStringLiteral("history: load filed ! invalid caption !"), 3);
        return false;
    }
    THistoryEntryData read;
    if (!ReadLenString(file, read.id, kHistoryIdMaxBytes) || !ReadStringList(file, true, read.lines)
        || !ReadInt32(file, read.pageCount))
        return false;
    if (!PlainId(read.id)) {
        Log(QStringLiteral("history: load failed ! invalid id !"), 3);
        return false;
    }
    entry = std::move(read);
    return true;
}
