#include "editing/imageview.h"

#include "imaging/geometry.h"

#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>

#include <cmath>

namespace {

const QColor kOutside(127, 127, 127);
const QColor kBackground(128, 128, 0); // olive

} // namespace

TImageView::TImageView(QWidget* parent)
    : QAbstractScrollArea(parent)
{
    setObjectName(QStringLiteral("view"));
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, kBackground);
    setPalette(palette);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
}

void TImageView::SetPicture(const QImage& picture)
{
    picture_ = picture;
    UpdateScrollBars();
    viewport()->update();
    Q_EMIT ViewChanged();
}

void TImageView::SetScale(double scale)
{
    scale_ = scale;
    UpdateScrollBars();
    viewport()->update();
    Q_EMIT ViewChanged();
}

double TImageView::FitScale() const
{
    TRect picture = { 0, 0, picture_.width(), picture_.height() };
    const QSize area = maximumViewportSize();
    return FitRect({ 0, 0, area.width(), area.height() }, picture, true);
}

QSize TImageView::ScaledSize() const
{
    return { int(std::lround(picture_.width() * scale_)), int(std::lround(picture_.height() * scale_)) };
}

void TImageView::UpdateScrollBars()
{
    const QSize scaled = ScaledSize();
    const QSize area = viewport()->size();
    horizontalScrollBar()->setRange(0, std::max(scaled.width() - area.width(), 0));
    verticalScrollBar()->setRange(0, std::max(scaled.height() - area.height(), 0));
    horizontalScrollBar()->setPageStep(area.width());
    verticalScrollBar()->setPageStep(area.height());
}

void TImageView::paintEvent(QPaintEvent*)
{
    QPainter painter(viewport());
    const QSize scaled = ScaledSize();
    const QSize area = viewport()->size();
    // Centred when smaller than the view, scrolled otherwise.
    const int left
        = scaled.width() < area.width() ? (area.width() - scaled.width()) / 2 : -horizontalScrollBar()->value();
    const int top
        = scaled.height() < area.height() ? (area.height() - scaled.height()) / 2 : -verticalScrollBar()->value();
    const QRect target(left, top, scaled.width(), scaled.height());
    painter.fillRect(viewport()->rect(), kOutside);
    if (picture_.isNull() || target.isEmpty())
        return;
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    // Only the visible part: map the view back to picture pixels.
    const QRect visible = target.intersected(viewport()->rect());
    const QRectF source((visible.left() - left) / scale_, (visible.top() - top) / scale_, visible.width() / scale_,
        visible.height() / scale_);
    painter.drawImage(QRectF(visible), picture_, source);
}

void TImageView::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollBars();
}

void TImageView::wheelEvent(QWheelEvent* event)
{
    // One step per notch (120); fine-grained wheels add up until they make one.
    wheelRest_ += event->angleDelta().y();
    const int notches = wheelRest_ / 120;
    wheelRest_ -= notches * 120;
    if (notches != 0)
        Q_EMIT WheelTurned(-notches); // turned toward the user (negative delta): larger
    event->accept();
}
