#include "ui/hotlabel.h"

#include "ui/syscolors.h"

#include <QMouseEvent>

THotLabel::THotLabel(QWidget* parent)
    : QLabel(parent)
    , hotFont_(font())
    , hotFontColor_(SysColor(TSysColor::HighlightText))
    , hotColor_(SysColor(TSysColor::Highlight))
{
}

void THotLabel::SetHotFont(const QFont& font)
{
    hotFont_ = font;
}

void THotLabel::SetHotFontColor(const QColor& color)
{
    hotFontColor_ = color;
}

void THotLabel::SetHotColor(const QColor& color)
{
    hotColor_ = color;
}

void THotLabel::SetHotTransparent(bool transparent)
{
    hotTransparent_ = transparent;
}

void THotLabel::enterEvent(QEnterEvent* event)
{
    QLabel::enterEvent(event);
    if (hot_)
        return;
    hot_ = true;
    ownFont_ = font();
    ownPalette_ = palette();
    ownAutoFill_ = autoFillBackground();
    setFont(hotFont_);
    QPalette hotPalette = palette();
    hotPalette.setColor(QPalette::WindowText, hotFontColor_);
    hotPalette.setColor(QPalette::Window, hotColor_);
    setPalette(hotPalette);
    setAutoFillBackground(!hotTransparent_);
    Q_EMIT OnMouseEnter();
}

void THotLabel::leaveEvent(QEvent* event)
{
    QLabel::leaveEvent(event);
    if (!hot_)
        return;
    hot_ = false;
    setFont(ownFont_);
    setPalette(ownPalette_);
    setAutoFillBackground(ownAutoFill_);
    Q_EMIT OnMouseLeave();
}

void THotLabel::mouseReleaseEvent(QMouseEvent* event)
{
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        Q_EMIT OnClick();
}
