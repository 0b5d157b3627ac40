// Grid geometry: columns, cell origins, scroll range, hit test, visible band, keyboard moves.
#include "project/thumbgrid.h"

#include <gtest/gtest.h>

namespace {

TEST(ThumbGridTest, ColumnsAndAtLeastOne)
{
    const TThumbGrid grid(150, 180, 5);
    EXPECT_EQ(grid.Columns(548), 3);
    EXPECT_EQ(grid.Columns(3 * 5 + 150), 1);
    EXPECT_EQ(grid.Columns(100), 1) << "too narrow for one column";
    EXPECT_EQ(grid.Columns(0), 1);
}

TEST(ThumbGridTest, CellOriginsRowByRow)
{
    const TThumbGrid grid(150, 180, 5);
    EXPECT_EQ(grid.CellOrigin(0, 3), QPoint(5, 5));
    EXPECT_EQ(grid.CellOrigin(2, 3), QPoint(5 + 2 * 155, 5));
    EXPECT_EQ(grid.CellOrigin(4, 3), QPoint(5 + 155, 5 + 185));
    EXPECT_EQ(grid.CellRect(4, 3), QRect(160, 190, 150, 180));
}

TEST(ThumbGridTest, ScrollRangeCountsStartedRows)
{
    const TThumbGrid grid(150, 180, 5);
    EXPECT_EQ(grid.ScrollRange(7, 3), 3 * 185);
    EXPECT_EQ(grid.ScrollRange(6, 3), 2 * 185);
    EXPECT_EQ(grid.ScrollRange(0, 3), 0);
    EXPECT_EQ(grid.ScrollRange(5, 1), 5 * 185);
}

TEST(ThumbGridTest, HitTestPointToPhoto)
{
    const TThumbGrid grid(150, 180, 5);
    const struct {
        int x, y, count, expected;
    } cases[] = { { 10, 10, 7, 0 }, { 4, 10, 7, -1 }, { 10, 4, 7, -1 }, { 470, 10, 7, -1 }, // right of the last column
        { 465, 10, 7, 2 }, // last pixel of the last gap
        { 157, 10, 7, 0 }, // gap after the first cell
        { 160, 10, 7, 1 }, { 10, 190, 7, 3 }, { 160, 380, 7, -1 }, // past the last photo
        { 10, 10, 0, -1 } }; // empty project
    for (const auto& c : cases)
        EXPECT_EQ(grid.HitTest(c.x, c.y, c.count, 3), c.expected) << c.x << "," << c.y;
}

TEST(ThumbGridTest, VisibleRangeCoversRowsMeetingTheBand)
{
    const TThumbGrid grid(150, 180, 5); // rows at 5, 190, 375, ...
    int first = 0, end = 0;
    grid.VisibleRange(0, 100, 10, 3, first, end);
    EXPECT_EQ(first, 0);
    EXPECT_EQ(end, 3);
    grid.VisibleRange(185, 10, 10, 3, first, end); // the gap between rows 0 and 1 and row 1's top
    EXPECT_EQ(first, 3);
    EXPECT_EQ(end, 6);
    grid.VisibleRange(184, 6, 10, 3, first, end); // row 0's last pixel is 184, row 1 starts at 190
    EXPECT_EQ(first, 0);
    EXPECT_EQ(end, 3);
    grid.VisibleRange(370, 1000, 10, 3, first, end);
    EXPECT_EQ(first, 6);
    EXPECT_EQ(end, 10);
    grid.VisibleRange(5000, 100, 10, 3, first, end);
    EXPECT_EQ(first, end);
}

TEST(ThumbGridTest, KeyboardMovesStopAtTheEnds)
{
    struct Case {
        int focus;
        TGridMove move;
        int expected;
    } const cases[] = {
        { -1, TGridMove::Down, 0 },
        { 4, TGridMove::Left, 3 },
        { 0, TGridMove::Left, 0 },
        { 6, TGridMove::Right, 6 },
        { 1, TGridMove::Down, 4 },
        { 5, TGridMove::Down, 5 }, // no photo below
        { 4, TGridMove::Up, 1 },
        { 1, TGridMove::Up, 1 },
        { 0, TGridMove::PageDown, 6 },
        { 6, TGridMove::PageUp, 0 },
        { 3, TGridMove::Home, 0 },
        { 3, TGridMove::End, 6 },
    };
    for (const Case& c : cases)
        EXPECT_EQ(MovedFocus(c.focus, c.move, 7, 3, 2), c.expected) << c.focus << " " << int(c.move);
    EXPECT_EQ(MovedFocus(-1, TGridMove::Right, 0, 3, 2), -1);
}

} // namespace
