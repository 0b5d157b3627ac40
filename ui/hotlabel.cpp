#include "ui/hotlabel.h"

#include "skin/syscolors.h"
#include "ui/keyboardwindow.h"

#include <QFocusEvent>
#include <QKeyEvent>
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

void THotLabel::SetFocusable(bool focusable)
{
    setFocusPolicy(focusable ? Qt::TabFocus : Qt::NoFocus);
}

void THotLabel::SetHot(bool hot)
{
    if (hot == hot_)
        return;
    hot_ = hot;
    if (hot) {
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
    } else {
        setFont(ownFont_);
        setPalette(ownPalette_);
        setAutoFillBackground(ownAutoFill_);
        Q_EMIT OnMouseLeave();
    }
}

void THotLabel::enterEvent(QEnterEvent* event)
{
    QLabel::enterEvent(event);
    SetHot(true);
}

void THotLabel::leaveEvent(QEvent* event)
{
    QLabel::leaveEvent(event);
    if (!hasFocus())
        SetHot(false);
}

void THotLabel::focusInEvent(QFocusEvent* event)
{
    // An empty link (no shop chosen yet) is no stop: the focus moves on the way it came.
    if (text().isEmpty() && event->reason() != Qt::OtherFocusReason) {
        focusNextPrevChild(event->reason() != Qt::BacktabFocusReason);
        return;
    }
    QLabel::focusInEvent(event);
    SetHot(true);
}

void THotLabel::focusOutEvent(QFocusEvent* event)
{
    QLabel::focusOutEvent(event);
    if (!underMouse())
        SetHot(false);
}

void THotLabel::keyPressEvent(QKeyEvent* event)
{
    if (IsEnterKey(*event) || (event->key() == Qt::Key_Space && event->modifiers() == Qt::NoModifier)) {
        Q_EMIT OnClick();
        return;
    }
    QLabel::keyPressEvent(event);
}

void THotLabel::mouseReleaseEvent(QMouseEvent* event)
{
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        Q_EMIT OnClick();
}
