#pragma once
// The entry file of the order history (<id>_hist.dat): the header "VD: history file", the id,
// the metadata lines and the number of contact-sheet pages, in the length-prefixed records of
// platform/binrecords.h.
#include <QIODevice>
#include <QString>
#include <QStringList>

struct THistoryEntryData {
    QString id;
    QStringList lines;
    qint32 pageCount = 0;
};

inline constexpr int kHistoryIdMaxBytes = 64;

bool WriteHistoryEntry(QIODevice& file, const THistoryEntryData& entry);

// False (entry unchanged) when a read fails, the header is wrong (logged at level 3) or the
// id is not a plain name of letters, digits, "_" and "-" (it names files; logged at level 3).
bool ReadHistoryEntry(QIODevice& file, THistoryEntryData& entry);
