#pragma once
// The order history's folder as the history window sees it: the readable entries, listed, and
// an entry deleted with its contact-sheet pages.
#include "order/history.h"

#include <QDateTime>
#include <QString>

#include <vector>

struct THistoryListing {
    QString path; // the entry file
    QString line; // "ID: <oid>, data: <date>"
    // When the order was made: its "date" value, or the entry file's time when that does not read.
    QDateTime written;
};

// The history folder, where entries are written.
QString HistoryFolder();

// Every "*.dat" file of folder that reads as an entry, in the order the folder lists them.
std::vector<THistoryListing> ListHistoryEntries(const QString& folder);

// The index of the latest written entry, -1 for none.
int NewestHistoryEntry(const std::vector<THistoryListing>& entries);

// Deletes the entry file at path (as listed) and the pages 1 ... pageCount of entry, which was
// read from it. Pages are deleted only when path is the entry's own file (<id>_hist.dat): a
// copied or renamed entry file never takes another entry's pages with it. True when the entry
// file is gone.
bool DeleteHistoryEntry(const THistory& entry, const QString& path);
