#include "project/windowplacement.h"

#include <algorithm>
#include <cmath>

namespace {

// One axis of MovedInside: a rectangle longer than the area starts where the area starts.
int Inside(int start, int length, int areaStart, int areaLength)
{
    return std::max(areaStart, std::min(start, areaStart + areaLength - length));
}

QRect MovedInside(const QRect& rect, const QRect& area)
{
    return { Inside(rect.x(), rect.width(), area.x(), area.width()),
        Inside(rect.y(), rect.height(), area.y(), area.height()), rect.width(), rect.height() };
}

} // namespace

QRect OpeningGeometry(const std::optional<QRect>& left, const QRect& available, const QSize& minimum)
{
    if (left && left->isValid() && left->intersects(available))
        return MovedInside(
            QRect(left->topLeft(), left->size().boundedTo(available.size()).expandedTo(minimum)), available);
    const QSize share(int(std::lround(available.width() * kFirstStartShare)),
        int(std::lround(available.height() * kFirstStartShare)));
    QRect rect(QPoint(0, 0), share.expandedTo(minimum));
    rect.moveCenter(available.center());
    return MovedInside(rect, available);
}
