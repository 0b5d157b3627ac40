#include "ui/statuslabel.h"

#include "ui/syscolors.h"

#include <QEvent>
#include <QPainter>

TStatusLabel::TStatusLabel(QWidget* parent)
    : QWidget(parent),
      captionFont_(font()),
      captionFontColor_(SysColor(TSysColor::WindowText)),
      statusFont_(font()),
      statusFontColor_(SysColor(TSysColor::WindowText)),
      disabledFont_(font()),
      disabledFontColor_(SysColor(TSysColor::GrayText))
{
    captionFont_.setBold(true);
    resize(96, 18);
}

void TStatusLabel::SetCaption(const QString& caption)
{
    caption_ = caption;
    update();
}

void TStatusLabel::SetStatus(const QString& status)
{
    status_ = status;
    update();
}

void TStatusLabel::SetStatusSpace(int space)
{
    statusSpace_ = space;
    update();
}

void TStatusLabel::SetCaptionFont(const QFont& font)
{
    captionFont_ = font;
    update();
}

void TStatusLabel::SetCaptionFontColor(const QColor& color)
{
    captionFontColor_ = color;
    update();
}

void TStatusLabel::SetStatusFont(const QFont& font)
{
    statusFont_ = font;
    update();
}

void TStatusLabel::SetStatusFontColor(const QColor& color)
{
    statusFontColor_ = color;
    update();
}

void TStatusLabel::SetDisabledFont(const QFont& font)
{
    disabledFont_ = font;
    update();
}

void TStatusLabel::SetDisabledFontColor(const QColor& color)
{
    disabledFontColor_ = color;
    update();
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
