#include "ui/nicecheckbox.h"

#include "skin/drawrules.h"
#include "skin/syscolors.h"
#include "ui/repaintingsetter.h"
#include "ui/widgetcolors.h"

#include <QPainter>

TNiceCheckBox::TNiceCheckBox(QWidget* parent)
    : TGradientButton(parent)
    , buttonColor_(SysColor(TSysColor::BtnFace))
    , checkColor_(SysColor(TSysColor::WindowText))
{
    setCheckable(true);
    setText(QStringLiteral("NiceCheckBox"));
    SetBorderStyle(vd::mbsNone);
    resize(97, 18);
}

void TNiceCheckBox::SetChecked(bool checked)
{
    setChecked(checked);
    update();
}

void TNiceCheckBox::SetButtonColor(const QColor& color)
{
    SetAndRepaint(*this, buttonColor_, color);
}
void TNiceCheckBox::SetCheckColor(const QColor& color)
{
    SetAndRepaint(*this, checkColor_, color);
}

QColor TNiceCheckBox::BackgroundColor() const
{
    return ownColor_ ? Color() : ParentColor(this);
}

void TNiceCheckBox::SetColor(const QColor& color)
{
    ownColor_ = true;
    TGradientButton::SetColor(color);
}

QSize TNiceCheckBox::sizeHint() const
{
    return { 97, 18 };
}

void TNiceCheckBox::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setFont(font());
    const bool pressed = isDown();
    painter.fillRect(rect(), BackgroundColor());

    QRect box = Shrunk(QRect(0, 0, height(), height()), 2);
    QColor boxColor = Hot() ? HotColor() : buttonColor_;
    if (pressed)
        boxColor = Adjust(boxColor, -30);
    ShadedFill(painter, box, boxColor, Brightness());
    if (Framed()) {
        Outline(painter, box, FrameColor());
        box = Shrunk(box, 1);
    }
    if (BorderStyle() == vd::mbsSunken) {
        if (pressed)
            Edge3D(painter, box, BorderTopColor(), BorderBottomColor());
        else
            Edge3D(painter, box, BorderBottomColor(), BorderTopColor());
        box = Shrunk(box, 1);
    }
    box = Shrunk(box, 2);
    painter.fillRect(box, buttonColor_);
    if (isChecked() && box.width() > 0 && box.height() > 0) {
        const int right = box.x() + box.width() - 1;
        const int bottom = box.y() + box.height() - 1;
        const QPoint tick[] = { { box.x(), box.y() + (bottom - box.y()) / 2 },
            { box.x() + (right - box.x()) / 2, bottom }, { right, box.y() } };
        painter.setPen(QPen(checkColor_, 2, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        painter.drawPolyline(tick, 3);
    }

    QColor textColor = FontColor();
    if (!isEnabled())
        textColor = DisabledCaptionColor(BackgroundColor(), BackgroundColor(), BackgroundColor());
    painter.setPen(textColor);
    const int captionLeft = height() + 2;
    const QRect captionArea(captionLeft, 0, width() - captionLeft, height());
    const int flags = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine | Qt::TextShowMnemonic;
    QRect extent;
    painter.drawText(captionArea, flags, ShownCaption(), &extent);
    if (hasFocus())
        FocusRect(painter, extent.adjusted(-1, 0, 1, 0));
}
