#include "ui/advprogressbar.h"

#include "core/textutils.h"
#include "skin/drawrules.h"
#include "skin/syscolors.h"
#include "ui/repaintingsetter.h"

#include <QPainter>

#include <algorithm>

TAdvProgressBar::TAdvProgressBar(QWidget* parent)
    : QWidget(parent)
    , borderDarkColor_(SysColor(TSysColor::BtnShadow))
    , borderLightColor_(SysColor(TSysColor::BtnHighlight))
    , fontColor_(SysColor(TSysColor::WindowText))
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(200, 20);
}

void TAdvProgressBar::SetMin(int min)
{
    SetAndRepaint(*this, min_, min);
}

void TAdvProgressBar::SetMax(int max)
{
    SetAndRepaint(*this, max_, max);
}

void TAdvProgressBar::SetPosition(int position)
{
    position_ = position;
    repaint();
}

void TAdvProgressBar::SetForegroundFillType(vd::TFillType type)
{
    SetAndRepaint(*this, foregroundFillType_, type);
}

void TAdvProgressBar::SetBackgroundFillType(vd::TFillType type)
{
    SetAndRepaint(*this, backgroundFillType_, type);
}

void TAdvProgressBar::SetForegroundColor(const QColor& color)
{
    SetAndRepaint(*this, foregroundColor_, color);
}

void TAdvProgressBar::SetForegroundEndingColor(const QColor& color)
{
    SetAndRepaint(*this, foregroundEndingColor_, color);
}

void TAdvProgressBar::SetBackgroundColor(const QColor& color)
{
    SetAndRepaint(*this, backgroundColor_, color);
}

void TAdvProgressBar::SetBackgroundEndingColor(const QColor& color)
{
    SetAndRepaint(*this, backgroundEndingColor_, color);
}

void TAdvProgressBar::SetGradientDirection(vd::TGradientDirection direction)
{
    SetAndRepaint(*this, gradientDirection_, direction);
}

void TAdvProgressBar::SetGradientMode(vd::TGradientMode mode)
{
    SetAndRepaint(*this, gradientMode_, mode);
}

void TAdvProgressBar::SetBorderStyle(vd::TBarBorderStyle style)
{
    SetAndRepaint(*this, borderStyle_, style);
}

void TAdvProgressBar::SetBorderWidth(int width)
{
    borderWidth_ = std::max(width, 0);
    update();
}

void TAdvProgressBar::SetBorderDarkColor(const QColor& color)
{
    SetAndRepaint(*this, borderDarkColor_, color);
}

void TAdvProgressBar::SetBorderLightColor(const QColor& color)
{
    SetAndRepaint(*this, borderLightColor_, color);
}

void TAdvProgressBar::SetShowCaption(bool show)
{
    SetAndRepaint(*this, showCaption_, show);
}

void TAdvProgressBar::SetAutoCaption(bool automatic)
{
    SetAndRepaint(*this, autoCaption_, automatic);
}

void TAdvProgressBar::SetCaption(const QString& caption)
{
    SetAndRepaint(*this, caption_, caption);
}

void TAdvProgressBar::SetTextTransparent(bool transparent)
{
    SetAndRepaint(*this, textTransparent_, transparent);
}

void TAdvProgressBar::SetTextBackgroundColor(const QColor& color)
{
    SetAndRepaint(*this, textBackgroundColor_, color);
}

void TAdvProgressBar::SetFontColor(const QColor& color)
{
    SetAndRepaint(*this, fontColor_, color);
}

int TAdvProgressBar::RangeMax() const
{
    return max_ < min_ ? min_ + 1 : max_;
}

int TAdvProgressBar::ClampedPosition() const
{
    return std::clamp(position_, min_, RangeMax());
}

int TAdvProgressBar::FilledWidth() const
{
    return int(MulDiv64(width(), ClampedPosition() - min_, RangeMax() - min_));
}

QString TAdvProgressBar::ShownCaption() const
{
    if (!autoCaption_)
        return caption_;
    return QString::number(MulDiv64(ClampedPosition() - min_, 100, RangeMax() - min_)) + u'%';
}

void TAdvProgressBar::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const int filled = FilledWidth();
    const QRect whole = rect();
    const QRect rest(filled, 0, width() - filled, height());
    const QRect done(0, 0, filled, height());
    const bool vertical = gradientDirection_ == vd::gdVertical;
    const TGradientAxis axis = vertical ? TGradientAxis::Vertical : TGradientAxis::Horizontal;

    if (backgroundFillType_ == vd::btFlat)
        painter.fillRect(rest, backgroundColor_);
    else if (vertical || gradientMode_ == vd::gmWhole)
        LinearGradient(painter, whole, backgroundColor_, backgroundEndingColor_, axis);
    else
        LinearGradient(painter, rest, backgroundColor_, backgroundEndingColor_, axis);

    if (ClampedPosition() > min_) {
        if (foregroundFillType_ == vd::btFlat)
            painter.fillRect(done, foregroundColor_);
        else if (vertical)
            LinearGradient(painter, done, foregroundColor_, foregroundEndingColor_, axis);
        else if (gradientMode_ == vd::gmWhole)
            LinearGradient(painter, whole, foregroundColor_, foregroundEndingColor_, axis, filled);
        else
            LinearGradient(painter, done, foregroundColor_, foregroundEndingColor_, axis);
    }

    const QString caption = ShownCaption();
    if (showCaption_ && !caption.isEmpty()) {
        painter.setFont(font());
        if (!textTransparent_) {
            QRect box = painter.boundingRect(whole, Qt::AlignCenter | Qt::TextSingleLine, caption);
            painter.fillRect(box, textBackgroundColor_);
        }
        painter.setPen(fontColor_);
        painter.drawText(whole, Qt::AlignCenter | Qt::TextSingleLine, caption);
    }

    if (borderStyle_ == vd::bsSingle) {
        QRect band = whole;
        for (int i = 0; i < borderWidth_; ++i, band = Shrunk(band, 1))
            Outline(painter, band, borderDarkColor_);
    }
}
