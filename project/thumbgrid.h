#pragma once
// Geometry of the thumbnail grid: cells of cellWidth x cellHeight separated by `space`
// pixels, filled row by row; plus the grid's keyboard moves. Pure arithmetic, no widgets.
#include <QRect>

class TConfig;

class TThumbGrid {
public:
    TThumbGrid(int cellWidth, int cellHeight, int space);
    explicit TThumbGrid(const TConfig& config); // cellWidth, cellHeight, thumbspace

    int CellWidth() const { return cellWidth_; }
    int CellHeight() const { return cellHeight_; }
    int Space() const { return space_; }

    // (paintWidth - 2 space) div (space + cellWidth), but at least one: a window too narrow
    // for one column still shows one.
    int Columns(int paintWidth) const;
    QPoint CellOrigin(int index, int columns) const;
    QRect CellRect(int index, int columns) const;
    // Height the grid needs for count photos: whole rows of (cellHeight + space).
    int ScrollRange(int count, int columns) const;
    // The photo under a point, or -1 (outside the columns, in the first gap, past the last
    // photo). Points in the gap after a cell belong to that cell.
    int HitTest(int x, int y, int count, int columns) const;
    // Photos whose rows meet the vertical band [top, top + height): first and one past last.
    void VisibleRange(int top, int height, int count, int columns, int& first, int& end) const;

private:
    int cellWidth_;
    int cellHeight_;
    int space_;
};

// Keys that move the focus in the grid.
enum class TGridMove { Left, Right, Up, Down, PageUp, PageDown, Home, End };

// The focus after a move; pageRows rows make a page. From no focus (-1) every move lands on
// the first photo; moves stop at the first and the last photo. -1 for an empty project.
int MovedFocus(int focus, TGridMove move, int count, int columns, int pageRows);
