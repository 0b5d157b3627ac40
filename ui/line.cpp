#include "ui/line.h"

#include "ui/syscolors.h"

#include <QPainter>

#include <algorithm>

TLine::TLine(QWidget* parent) : QWidget(parent), penColor_(SysColor(TSysColor::BtnText))
{
    resize(100, 2);
}

void TLine::SetPenColor(const QColor& color)
{
    penColor_ = color;
    update();
}

void TLine::SetPenWidth(int width)
{
    penWidth_ = std::max(width, 1);
    FitThickness();
    update();
}

void TLine::SetOrientation(vd::TLineOrientation orientation)
{
    orientation_ = orientation;
    FitThickness();
    update();
}

void TLine::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    FitThickness();
}

void TLine::FitThickness()
{
    if (orientation_ == vd::LHorizontal && height() != penWidth_)
        resize(width(), penWidth_);
    else if (orientation_ == vd::LVertical && width() != penWidth_)
        resize(penWidth_, height());
}

void TLine::paintEvent(QPaintEvent*)
{
    // The pen runs through w div 2 and covers w pixels centred there.
    QPainter painter(this);
    const int middle = penWidth_ / 2;
    const int first = middle - penWidth_ / 2;
    if (orientation_ == vd::LHorizontal)
        painter.fillRect(QRect(0, first, width(), penWidth_), penColor_);
    else
        painter.fillRect(QRect(first, 0, penWidth_, height()), penColor_);
}
