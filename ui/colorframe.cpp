#include "ui/colorframe.h"

#include "skin/drawrules.h"
#include "skin/syscolors.h"
#include "ui/repaintingsetter.h"
#include "ui/widgetcolors.h"

#include <QPainter>

#include <algorithm>

TColorFrame::TColorFrame(QWidget* parent)
    : QWidget(parent)
    , topColor_(SysColor(TSysColor::BtnHighlight))
    , bottomColor_(SysColor(TSysColor::BtnShadow))
    , fontColor_(SysColor(TSysColor::WindowText))
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    resize(50, 30);
}

void TColorFrame::SetTopColor(const QColor& color)
{
    SetAndRepaint(*this, topColor_, color);
}

void TColorFrame::SetBottomColor(const QColor& color)
{
    SetAndRepaint(*this, bottomColor_, color);
}

void TColorFrame::SetReverseColors(bool reverse)
{
    SetAndRepaint(*this, reverseColors_, reverse);
}

void TColorFrame::SetAutoFrameColor(bool automatic)
{
    SetAndRepaint(*this, autoFrameColor_, automatic);
}

void TColorFrame::SetCaption(const QString& caption)
{
    SetAndRepaint(*this, caption_, caption);
}

void TColorFrame::SetCaptionSpace(int space)
{
    captionSpace_ = std::max(space, 0);
    update();
}

QColor TColorFrame::Color() const
{
    return color_.isValid() ? color_ : ParentColor(this);
}

void TColorFrame::SetColor(const QColor& color)
{
    SetAndRepaint(*this, color_, color);
}

void TColorFrame::SetFontColor(const QColor& color)
{
    SetAndRepaint(*this, fontColor_, color);
}

void TColorFrame::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setFont(font());
    const QFontMetrics metrics(font());
    const int a = caption_.isEmpty() ? 0 : metrics.height() / 2;

    QColor top = autoFrameColor_ ? Adjust(Color(), 100) : topColor_;
    QColor bottom = autoFrameColor_ ? Adjust(Color(), -100) : bottomColor_;
    if (reverseColors_)
        std::swap(top, bottom);
    // Corners given inclusive: (1, a + 1)..(w - 2, h - 2), then (0, a)..(w - 3, h - 3).
    Outline(painter, QRect(1, a + 1, width() - 2, height() - 2 - a), top);
    Outline(painter, QRect(0, a, width() - 2, height() - 2 - a), bottom);

    if (caption_.isEmpty())
        return;
    if (captionSpace_ > 0)
        painter.fillRect(QRect(5, 0, metrics.horizontalAdvance(caption_) + 2 * captionSpace_, 2 * a), Color());
    painter.setPen(fontColor_);
    painter.drawText(QRect(captionSpace_ + 5, 0, width(), metrics.height()),
        Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, caption_);
}
