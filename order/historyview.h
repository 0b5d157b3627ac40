#pragma once
// What the history window shows of one entry, without the window: the details rows (a label
// and its value, in the order the window lists them) and the paging rule of its contact-sheet
// pages.
#include <QString>
#include <QStringList>

#include <vector>

struct THistoryDetail {
    QString label;
    QString value;
    // The row as one line: label + ":" + value.
    QString Line() const { return label + u':' + value; }
};

// The details rows of an entry's metadata lines: the order, the customer, the shop, delivery
// and payment, then one row per photo (source file name, format name and quantity from
// "rddata").
// Photo rows stop at the last "rddata" line even when "count" claims more.
std::vector<THistoryDetail> HistoryDetails(const QStringList& lines);

// The page one step (+1 or -1) from current among pageCount pages, wrapping round at both
// ends; 1 when the entry has no pages.
int StepPage(int current, int pageCount, int step);

// The page status "n / count".
QString PageStatus(int page, int pageCount);
