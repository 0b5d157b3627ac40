#include "ui/gradientprogressbar.h"

#include "platform/muldiv.h"
#include "skin/drawrules.h"
#include "skin/syscolors.h"
#include "ui/repaintingsetter.h"

#include <QPainter>

#include <algorithm>

TGradientProgressBar::TGradientProgressBar(QWidget* parent)
    : QWidget(parent)
    , color_(SysColor(TSysColor::BtnFace))
    , backColor_(SysColor(TSysColor::AppWorkspace))
    , fontColor_(SysColor(TSysColor::WindowText))
{
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(100, 18);
}

void TGradientProgressBar::NormaliseRange()
{
    if (min_ > max_)
        std::swap(min_, max_);
    position_ = std::clamp(position_, min_, max_);
}

void TGradientProgressBar::SetMin(int min)
{
    min_ = min;
    NormaliseRange();
    repaint();
}

void TGradientProgressBar::SetMax(int max)
{
    max_ = max;
    NormaliseRange();
    repaint();
}

void TGradientProgressBar::SetPosition(int position)
{
    position = std::clamp(position, min_, max_);
    if (position == position_)
        return;
    position_ = position;
    repaint();
}

int TGradientProgressBar::Percent() const
{
    if (max_ == min_)
        return 0;
    return MulDiv(position_ - min_, 100, max_ - min_);
}

void TGradientProgressBar::SetColor(const QColor& color)
{
    SetAndRepaint(*this, color_, color);
}
void TGradientProgressBar::SetBackColor(const QColor& color)
{
    SetAndRepaint(*this, backColor_, color);
}
void TGradientProgressBar::SetBrightness(int brightness)
{
    SetAndRepaint(*this, brightness_, brightness);
}
void TGradientProgressBar::SetShowCaption(bool show)
{
    SetAndRepaint(*this, showCaption_, show);
}
void TGradientProgressBar::SetAutoCaption(bool automatic)
{
    SetAndRepaint(*this, autoCaption_, automatic);
}
void TGradientProgressBar::SetSnapCaption(bool snap)
{
    SetAndRepaint(*this, snapCaption_, snap);
}
void TGradientProgressBar::SetCaption(const QString& caption)
{
    SetAndRepaint(*this, caption_, caption);
}
void TGradientProgressBar::SetFontColor(const QColor& color)
{
    SetAndRepaint(*this, fontColor_, color);
}

QString TGradientProgressBar::ShownCaption() const
{
    return autoCaption_ ? QStringLiteral("%1 %").arg(Percent()) : caption_;
}

void TGradientProgressBar::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setFont(font());
    QRect area = rect();
    if (frame_.framed) {
        Outline(painter, area, frame_.frameColor);
        area = Shrunk(area, 1);
    }
    painter.fillRect(area, backColor_);
    painter.fillRect(QRect(area.x(), area.y(), area.width(), 1), Adjust(backColor_, -50));

    const int filledWidth = Percent() * area.width() / 100;
    const int filledRight = area.x() + filledWidth; // first column after the filled part
    if (filledWidth > 0) {
        QRect filled(area.x(), area.y(), filledWidth, area.height());
        if (frame_.borderStyle == vd::mbsSunken) {
            Edge3D(painter, filled, frame_.borderTopColor, frame_.borderBottomColor);
            if (frame_.framed && filledRight < area.x() + area.width())
                painter.fillRect(QRect(filledRight, area.y(), 1, area.height()), frame_.frameColor);
            filled = Shrunk(filled, 1);
        }
        ShadedFill(painter, filled, color_, brightness_);
    }

    if (!showCaption_)
        return;
    const QString text = ShownCaption();
    QRect box = Shrunk(rect(), 2);
    if (snapCaption_) {
        const int boxWidth = painter.fontMetrics().horizontalAdvance(text) + 4;
        const int left = boxWidth <= filledWidth ? filledRight - boxWidth : filledRight + 2;
        box = QRect(left, box.y(), boxWidth, box.height());
    }
    painter.setPen(fontColor_);
    painter.drawText(box, Qt::AlignCenter | Qt::TextSingleLine, text);
}
