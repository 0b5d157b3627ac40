#include "ui/statuslabel.h"

#include "skin/syscolors.h"
#include "ui/repaintingsetter.h"

#include <QEvent>
#include <QPainter>

TStatusLabel::TStatusLabel(QWidget* parent)
    : QWidget(parent)
    , captionFont_(font())
    , captionFontColor_(SysColor(TSysColor::WindowText))
    , statusFont_(font())
    , statusFontColor_(SysColor(TSysColor::WindowText))
    , disabledFont_(font())
    , disabledFontColor_(SysColor(TSysColor::GrayText))
{
    captionFont_.setBold(true);
    resize(96, 18);
}

void TStatusLabel::SetCaption(const QString& caption)
{
    SetAndRepaint(*this, caption_, caption);
}

void TStatusLabel::SetStatus(const QString& status)
{
    SetAndRepaint(*this, status_, status);
}

void TStatusLabel::SetStatusSpace(int space)
{
    SetAndRepaint(*this, statusSpace_, space);
}

void TStatusLabel::SetCaptionFont(const QFont& font)
{
    SetAndRepaint(*this, captionFont_, font);
}

void TStatusLabel::SetCaptionFontColor(const QColor& color)
{
    SetAndRepaint(*this, captionFontColor_, color);
}

void TStatusLabel::SetStatusFont(const QFont& font)
{
    SetAndRepaint(*this, statusFont_, font);
}

void TStatusLabel::SetStatusFontColor(const QColor& color)
{
    SetAndRepaint(*this, statusFontColor_, color);
}

void TStatusLabel::SetDisabledFont(const QFont& font)
{
    SetAndRepaint(*this, disabledFont_, font);
}

void TStatusLabel::SetDisabledFontColor(const QColor& color)
{
    SetAndRepaint(*this, disabledFontColor_, color);
}

void TStatusLabel::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::EnabledChange)
        update();
}

void TStatusLabel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const bool enabled = isEnabled();
    const int flags = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine;

    painter.setFont(enabled ? captionFont_ : disabledFont_);
    painter.setPen(enabled ? captionFontColor_ : disabledFontColor_);
    QRect captionExtent;
    painter.drawText(rect(), flags, caption_, &captionExtent);

    const int statusLeft = captionExtent.width() + statusSpace_;
    painter.setFont(enabled ? statusFont_ : disabledFont_);
    painter.setPen(enabled ? statusFontColor_ : disabledFontColor_);
    painter.drawText(rect().adjusted(statusLeft, 0, 0, 0), flags, status_);
}
