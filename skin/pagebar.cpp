#include "skin/pagebar.h"

#include <algorithm>

namespace {

QString NumberText(int page)
{
    return QStringLiteral(" %1 ").arg(page + 1);
}

// Places the numbers of pages first, first + step, ... (while within 0..pageCount - 1)
// outwards from `edge`, towards `limit`, turning the last placed label into "..." when the
// next would cross the limit.
void PlaceSide(std::vector<TPageBarLabel>& labels, int pageCount, int first, int step, int edge, int limit,
    const std::function<int(const QString&)>& textWidth)
{
    const bool leftwards = step < 0;
    int placed = -1;
    for (int page = first; page >= 0 && page < pageCount; page += step) {
        const QString text = NumberText(page);
        const int width = textWidth(text);
        const int left = leftwards ? edge - width : edge;
        const bool fits = leftwards ? left >= limit : left + width <= limit;
        if (!fits) {
            if (placed >= 0)
                labels[size_t(placed)].text = QStringLiteral("...");
            return;
        }
        labels.push_back({ text, page, left, width, false });
        placed = int(labels.size()) - 1;
        edge = leftwards ? left : left + width;
    }
}

} // namespace

std::vector<TPageBarLabel> LayoutPageBar(
    int pageCount, int currentPage, int barWidth, const std::function<int(const QString&)>& textWidth)
{
    std::vector<TPageBarLabel> labels;
    if (pageCount <= 0)
        return labels;
    currentPage = std::clamp(currentPage, 0, pageCount - 1);

    const QString currentText = NumberText(currentPage);
    const int currentWidth = textWidth(currentText);
    const int currentLeft = (barWidth - currentWidth) / 2;
    labels.push_back({ currentText, currentPage, currentLeft, currentWidth, true });

    int leftLimit = 0;
    if (currentPage > 0) {
        const int width = textWidth(QStringLiteral(" < "));
        labels.push_back({ QStringLiteral(" < "), 0, 0, width, false });
        leftLimit = width;
    }
    int rightLimit = barWidth;
    if (currentPage < pageCount - 1) {
        const int width = textWidth(QStringLiteral(" > "));
        labels.push_back({ QStringLiteral(" > "), pageCount - 1, barWidth - width, width, false });
        rightLimit = barWidth - width;
    }
    PlaceSide(labels, pageCount, currentPage - 1, -1, currentLeft, leftLimit, textWidth);
    PlaceSide(labels, pageCount, currentPage + 1, +1, currentLeft + currentWidth, rightLimit, textWidth);
    return labels;
}

int RowsPerPage(int height, int itemHeight)
{
    return std::max(1, height / std::max(1, itemHeight));
}

int PageCount(int count, int rowsPerPage)
{
    if (count <= 0)
        return 0;
    return (count + rowsPerPage - 1) / rowsPerPage;
}
