#include "ui/mcheckbox.h"

#include "ui/syscolors.h"
#include "ui/widgetcolors.h"

#include <QPainter>

TMCheckBox::TMCheckBox(QWidget* parent)
    : QAbstractButton(parent),
      borderColor_(SysColor(TSysColor::WindowText)),
      selectedColor_(SysColor(TSysColor::Highlight)),
      fontColor_(SysColor(TSysColor::WindowText))
{
    setCheckable(true);
    setFocusPolicy(Qt::StrongFocus);
    connect(this, &QAbstractButton::clicked, this, &TMCheckBox::OnClick);
    resize(64, 16);
}

void TMCheckBox::SetBorderColor(const QColor& color)
{
    borderColor_ = color;
    update();
}

void TMCheckBox::SetSelectedColor(const QColor& color)
{
    selectedColor_ = color;
    update();
}

void TMCheckBox::SetDotAreaColor(const QColor& color)
{
    dotAreaColor_ = color;
    update();
}

void TMCheckBox::SetHotDotAreaColor(const QColor& color)
{
    hotDotAreaColor_ = color;
    update();
}

void TMCheckBox::SetDotAreaSize(int size)
{
    dotAreaSize_ = size;
    update();
}

void TMCheckBox::SetDotSize(int size)
{
    dotSize_ = size;
    update();
}

QColor TMCheckBox::Color() const
{
    return color_.isValid() ? color_ : ParentColor(this);
}

void TMCheckBox::SetColor(const QColor& color)
{
    color_ = color;
    update();
}

void TMCheckBox::SetFontColor(const QColor& color)
{
    fontColor_ = color;
    update();
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
    const QRect dot(dotArea.x() + (dotAreaSize_ - dotSize_) / 2, dotArea.y() + (dotAreaSize_ - dotSize_) / 2, dotSize_,
                    dotSize_);
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
