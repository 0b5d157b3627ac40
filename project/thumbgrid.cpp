#include "project/thumbgrid.h"

#include "core/core.h"

#include <algorithm>

TThumbGrid::TThumbGrid(int cellWidth, int cellHeight, int space)
    : cellWidth_(std::max(cellWidth, 1))
    , cellHeight_(std::max(cellHeight, 1))
    , space_(std::max(space, 0))
{
}

TThumbGrid::TThumbGrid(const TConfig& config)
    : TThumbGrid(config.cellWidth, config.cellHeight, config.thumbspace)
{
}

int TThumbGrid::Columns(int paintWidth) const
{
    return std::max((paintWidth - 2 * space_) / (space_ + cellWidth_), 1);
}

QPoint TThumbGrid::CellOrigin(int index, int columns) const
{
    return { space_ + (index % columns) * (space_ + cellWidth_), space_ + (index / columns) * (cellHeight_ + space_) };
}

QRect TThumbGrid::CellRect(int index, int columns) const
{
    return { CellOrigin(index, columns), QSize(cellWidth_, cellHeight_) };
}

int TThumbGrid::ScrollRange(int count, int columns) const
{
    const int rows = count / columns + (count % columns != 0 ? 1 : 0);
    return rows * (cellHeight_ + space_);
}

int TThumbGrid::HitTest(int x, int y, int count, int columns) const
{
    if (count <= 0 || x < space_ || y < space_ || x > columns * (cellWidth_ + space_))
        return -1;
    const int index = (x - space_) / (cellWidth_ + space_) + columns * ((y - space_) / (cellHeight_ + space_));
    return index > count - 1 ? -1 : index;
}

void TThumbGrid::VisibleRange(int top, int height, int count, int columns, int& first, int& end) const
{
    const int pitch = cellHeight_ + space_;
    // Row r spans [space + r pitch, space + r pitch + cellHeight).
    const int beforeTop = top - space_ - cellHeight_; // rows ending at or above it are hidden
    const int firstRow = beforeTop < 0 ? 0 : beforeTop / pitch + 1;
    const int endRow = std::max((top + height - space_ + pitch - 1) / pitch, 0);
    first = std::min(firstRow * columns, count);
    end = std::clamp(endRow * columns, first, count);
}

int MovedFocus(int focus, TGridMove move, int count, int columns, int pageRows)
{
    if (count <= 0)
        return -1;
    if (focus < 0 || focus >= count)
        return 0;
    const int page = std::max(pageRows, 1) * columns;
    int target = focus;
    switch (move) {
    case TGridMove::Left:
        target = focus - 1;
        break;
    case TGridMove::Right:
        target = focus + 1;
        break;
    case TGridMove::Up:
        target = focus - columns >= 0 ? focus - columns : focus;
        break;
    case TGridMove::Down:
        target = focus + columns < count ? focus + columns : focus;
        break;
    case TGridMove::PageUp:
        target = focus - page;
        break;
    case TGridMove::PageDown:
        target = focus + page;
        break;
    case TGridMove::Home:
        target = 0;
        break;
    case TGridMove::End:
        target = count - 1;
        break;
    }
    return std::clamp(target, 0, count - 1);
}
