#include "ui/image.h"

#include "ui/glyphdrawing.h"

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
        painter.drawImage(rect(), shown);
        return;
    }
    QPoint origin(0, 0);
    if (center_)
        origin = QPoint((width() - shown.width()) / 2, (height() - shown.height()) / 2);
    painter.drawImage(origin, shown);
}
