#include "project/thumbcell.h"

#include "skin/skinner.h"

#include <QFontMetrics>
#include <QPainter>

namespace {

// A one-pixel frame just inside rect: top and left in `top`, bottom and right in `bottom`.
void Frame3D(QPainter& painter, const QRect& rect, const QColor& top, const QColor& bottom)
{
    painter.fillRect(rect.left(), rect.top(), rect.width(), 1, top);
    painter.fillRect(rect.left(), rect.top(), 1, rect.height(), top);
    painter.fillRect(rect.left(), rect.bottom(), rect.width(), 1, bottom);
    painter.fillRect(rect.right(), rect.top(), 1, rect.height(), bottom);
}

} // namespace

void PaintThumbCell(QPainter& painter, const TSkinner& skin, const TThumbCell& cell,
    const std::function<void(QPainter&, const QRect& pictureArea)>& drawPicture)
{
    const auto color = [&skin](const char* name) { return skin.GetColor(QLatin1String(name)); };
    const QRect cellRect(cell.origin, cell.size);
    const QColor top = color("bordertop"), bottom = color("borderbottom");
    painter.fillRect(cellRect, color(cell.selected ? "selected" : "color"));

    const QRect pictureArea(cell.origin + QPoint(cell.border, cell.border), cell.picture);
    painter.fillRect(pictureArea, color("color"));
    drawPicture(painter, pictureArea);
    Frame3D(painter, pictureArea.adjusted(-1, -1, 1, 1), top, bottom);

    painter.setPen(color(cell.selected ? "selectedtext" : "text"));
    const int lineHeight = painter.fontMetrics().size(Qt::TextSingleLine, QStringLiteral("^_")).height();
    QRect line(cell.origin.x() + 2, cell.origin.y() + 2 * cell.border + cell.picture.height(), cell.size.width() - 4,
        lineHeight);
    for (const QString& text : FitCellTexts(cell.texts, painter.fontMetrics(), cell.size.width())) {
        painter.drawText(line, Qt::AlignCenter | Qt::TextSingleLine, text);
        line.translate(0, lineHeight);
    }
    Frame3D(painter, cellRect, top, bottom);
}

QStringList FitCellTexts(QStringList texts, const QFontMetrics& metrics, int cellWidth)
{
    for (QString& text : texts)
        text = metrics.elidedText(text, Qt::ElideRight, cellWidth - 4);
    return texts;
}
