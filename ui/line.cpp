#include "ui/line.h"

#include "skin/syscolors.h"

#include <QPainter>

#include <algorithm>

TLine::TLine(QWidget* parent)
    : QWidget(parent)
    , penColor_(SysColor(TSysColor::BtnText))
{
    FitThickness();
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

void TLine::FitThickness()
{
    // Fixed in the thickness, so that no later resize can change it.
    if (orientation_ == vd::LHorizontal) {
        setMinimumSize(0, penWidth_);
        setMaximumSize(QWIDGETSIZE_MAX, penWidth_);
    } else {
        setMinimumSize(penWidth_, 0);
        setMaximumSize(penWidth_, QWIDGETSIZE_MAX);
    }
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
