#pragma once
// The page bar of TPageListBox: which labels it shows and where. The current page's number
// stands highlighted in the middle; " < " (to the first page) and " > " (to the last) sit at
// the ends when there is somewhere to go; the other numbers fill the room between, outwards
// from the current one, and where the next number would not fit the last one placed reads
// "..." (still leading to its page).
#include <QString>

#include <functional>
#include <vector>

struct TPageBarLabel {
    QString text;
    int page = 0; // 0-based page shown when the label is clicked
    int left = 0; // within the bar
    int width = 0;
    bool current = false;
};

// Pages are 0-based; labels show 1-based numbers. textWidth measures a label's text in the
// bar's font. No labels for an empty list.
std::vector<TPageBarLabel> LayoutPageBar(
    int pageCount, int currentPage, int barWidth, const std::function<int(const QString&)>& textWidth);

// Rows that fit on one page of a list area `height` pixels high with rows `itemHeight`
// high; never less than 1 so that paging always works.
int RowsPerPage(int height, int itemHeight);
// ceiling(count / rowsPerPage); 0 for an empty list.
int PageCount(int count, int rowsPerPage);
