#include "ui/mcheckbox.h"

#include "skin/syscolors.h"
#include "ui/repaintingsetter.h"
#include "ui/widgetcolors.h"

#include <QPainter>

TMCheckBox::TMCheckBox(QWidget* parent)
    : QAbstractButton(parent)
    , borderColor_(SysColor(TSysColor::WindowText))
    , selectedColor_(SysColor(TSysColor::Highlight))
    , fontColor_(SysColor(TSysColor::WindowText))
{
    setCheckable(true);
    setFocusPolicy(Qt::StrongFocus);
    connect(this, &QAbstractButton::clicked, this, &TMCheckBox::OnClick);
    resize(64, 16);
}

void TMCheckBox::SetBorderColor(const QColor& color)
{
    SetAndRepaint(*this, borderColor_, color);
}

void TMCheckBox::SetSelectedColor(const QColor& color)
{
    SetAndRepaint(*this, selectedColor_, color);
}

void TMCheckBox::SetDotAreaColor(const QColor& color)
{
    SetAndRepaint(*this, dotAreaColor_, color);
}

void TMCheckBox::SetHotDotAreaColor(const QColor& color)
{
    SetAndRepaint(*this, hotDotAreaColor_, color);
}

void TMCheckBox::SetDotAreaSize(int size)
{
    SetAndRepaint(*this, dotAreaSize_, size);
}

void TMCheckBox::SetDotSize(int size)
{
    SetAndRepaint(*this, dotSize_, size);
}

QColor TMCheckBox::Color() const
{
    return color_.isValid() ? color_ : ParentColor(this);
}

void TMCheckBox::SetColor(const QColor& color)
{
    SetAndRepaint(*this, color_, color);
}

void TMCheckBox::SetFontColor(const QColor& color)
{
    SetAndRepaint(*this, fontColor_, color);
}

void TMCheckBox::enterEvent(QEnterEvent* event)
{
    QAbstractButton::enterEvent(event);
    hot_ = true;
    update();
}

void TMCheckBox::leaveEvent(QEvent* event)
{
    QAbstractButton::leaveEvent(event);
    hot_ = false;
    update();
}

void TMCheckBox::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setFont(font());
    painter.fillRect(rect(), Color());

    const QRect dotArea(0, (height() - dotAreaSize_) / 2, dotAreaSize_, dotAreaSize_);
    painter.fillRect(dotArea, hasFocus() || hot_ ? hotDotAreaColor_ : dotAreaColor_);
    painter.setPen(borderColor_);
    painter.drawRect(dotArea.adjusted(0, 0, -1, -1));
    const QRect dot(
        dotArea.x() + (dotAreaSize_ - dotSize_) / 2, dotArea.y() + (dotAreaSize_ - dotSize_) / 2, dotSize_, dotSize_);
    painter.fillRect(dot, isChecked() ? selectedColor_ : dotAreaColor_);

    painter.setPen(fontColor_);
    QRect extent;
    painter.drawText(rect().adjusted(dotAreaSize_ + 4, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
        text(), &extent);
    if (hasFocus()) {
        painter.setPen(QPen(QColor(192, 192, 192), 1, Qt::DotLine));
        painter.drawRect(extent.adjusted(-1, 0, 0, -1));
    }
}
