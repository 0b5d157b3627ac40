#pragma once
// One thumbnail cell as the main window's grid paints it: the cell filled in "selected" or
// "color", the picture area in "color" with a 3-D frame round it, the text lines under it
// centred one under the other, and a 3-D frame round the whole cell. The settings window's
// preview paints its sample cell with the same code.
#include <QRect>
#include <QSize>
#include <QStringList>

#include <functional>

class QFontMetrics;
class QPainter;
class TSkinner;

struct TThumbCell {
    QPoint origin;
    QSize size; // cellWidth x cellHeight
    QSize picture; // the picture area, thumbbitmapwidth x thumbbitmapheight
    int border = 0; // between the cell's edge and the picture area
    bool selected = false;
    QStringList texts; // the lines under the picture, cut to the cell's width when painted
};

// Paints the cell; drawPicture draws the thumbnail into the picture area, after its fill and
// before its frame. Colours come from skin.
void PaintThumbCell(QPainter& painter, const TSkinner& skin, const TThumbCell& cell,
    const std::function<void(QPainter&, const QRect& pictureArea)>& drawPicture);

// The texts as a cell cellWidth wide shows them: a text wider than the cell ends in "…"
// instead of losing letters at both ends.
QStringList FitCellTexts(QStringList texts, const QFontMetrics& metrics, int cellWidth);
