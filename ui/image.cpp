#include "ui/image.h"

#include "skin/glyphdrawing.h"

#include <QPainter>

TImage::TImage(QWidget* parent)
    : QWidget(parent)
{
    resize(105, 105);
}

void TImage::SetPicture(const QImage& picture)
{
    picture_ = picture;
    update();
}

void TImage::SetStretch(bool stretch)
{
    stretch_ = stretch;
    update();
}

void TImage::SetCenter(bool center)
{
    center_ = center;
    update();
}

void TImage::SetProportional(bool proportional)
{
    proportional_ = proportional;
    update();
}

void TImage::SetTransparent(bool transparent)
{
    transparent_ = transparent;
    update();
}

void TImage::paintEvent(QPaintEvent*)
{
    if (picture_.isNull())
        return;
    QPainter painter(this);
    const QImage shown = transparent_ ? GlyphForDrawing(picture_, TGlyphLook { true }) : picture_;
    if (stretch_) {
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        QRect target = rect();
        if (proportional_) {
            target.setSize(shown.size().scaled(size(), Qt::KeepAspectRatio));
            if (center_)
                target.moveTopLeft(QPoint((width() - target.width()) / 2, (height() - target.height()) / 2));
        }
        painter.drawImage(target, shown);
        return;
    }
    QPoint origin(0, 0);
    if (center_)
        origin = QPoint((width() - shown.width()) / 2, (height() - shown.height()) / 2);
    painter.drawImage(origin, shown);
}
