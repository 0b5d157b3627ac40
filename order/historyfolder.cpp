#include "order/historyfolder.h"

#include "core/log.h"
#include "platform/appdir.h"
#include "platform/files.h"

#include <QFileInfo>

namespace {

QDateTime EntryWritten(const THistory& entry, const QString& path)
{
    const QDateTime date = QDateTime::fromString(
        entry.GetValue(QStringLiteral("date")).trimmed(), QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    return date.isValid() ? date : QFileInfo(path).lastModified();
}

} // namespace

QString HistoryFolder()
{
    return AppPath(QStringLiteral("history"), FileUse::Write);
}

std::vector<THistoryListing> ListHistoryEntries(const QString& folder)
{
    QStringList files;
    ListFiles(folder + QStringLiteral("/*.dat"), 0, files);
    std::vector<THistoryListing> entries;
    THistory entry;
    for (const QString& path : files)
        if (entry.LoadEntry(path))
            entries.push_back({ path,
                QStringLiteral("ID: %1, data: %2")
                    .arg(entry.GetValue(QStringLiteral("oid")), entry.GetValue(QStringLiteral("date"))),
                EntryWritten(entry, path) });
    return entries;
}

int NewestHistoryEntry(const std::vector<THistoryListing>& entries)
{
    int newest = -1;
    for (int i = 0; i < int(entries.size()); ++i)
        if (newest < 0 || entries[i].written > entries[newest].written)
            newest = i;
    return newest;
}

bool DeleteHistoryEntry(const THistory& entry, const QString& path)
{
    const QFileInfo file(path);
    const QString prefix = entry.id + u'_';
    if (file.fileName() == prefix + QStringLiteral("hist.dat")) {
        // The pages present, not every number up to a count read from the file.
        QStringList pages;
        ListFiles(file.path() + u'/' + prefix + QStringLiteral("*.jpg"), 0, pages);
        for (const QString& page : pages) {
            const QString name = QFileInfo(page).fileName();
            const QString number = name.mid(prefix.size()).chopped(4);
            bool ok = false;
            const int n = number.toInt(&ok);
            if (ok && n >= 1 && n <= entry.pageCount && name == prefix + QString::number(n) + QStringLiteral(".jpg"))
                DeleteFileForced(page);
        }
    } else {
        Log("history: " + file.fileName() + " is not the entry file of " + entry.id + ", its pages are kept", 2);
    }
    return DeleteFileForced(path);
}
