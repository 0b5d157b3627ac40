#include "editing/paintbox.h"

#include <QMouseEvent>
#include <QPainter>

TPaintBox::TPaintBox(QWidget* parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent); // the window paints every pixel
}

void TPaintBox::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    Q_EMIT OnPaint(painter);
}

TShape::TShape(QWidget* parent, const QColor& color, int penWidth, bool receivesMouse)
    : QWidget(parent)
    , color_(color)
    , penWidth_(penWidth)
{
    setAttribute(Qt::WA_TransparentForMouseEvents, !receivesMouse);
    setMouseTracking(receivesMouse);
}

void TShape::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const int w = width(), h = height(), band = penWidth_;
    painter.fillRect(0, 0, w, band, color_);
    painter.fillRect(0, h - band, w, band, color_);
    painter.fillRect(0, band, band, h - 2 * band, color_);
    painter.fillRect(w - band, band, band, h - 2 * band, color_);
}

void TShape::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        Q_EMIT OnMouseDown(event->position().toPoint(), event->globalPosition().toPoint());
}

void TShape::mouseMoveEvent(QMouseEvent* event)
{
    Q_EMIT OnMouseMove(event->position().toPoint(), event->globalPosition().toPoint());
}

void TShape::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        Q_EMIT OnMouseUp(event->position().toPoint(), event->globalPosition().toPoint());
}
