#include "editing/savestrip.h"

#include "imaging/colour.h"
#include "imaging/geometry.h"
#include "imaging/picture.h"

#include <QPainter>

namespace {

constexpr std::uint32_t kOpaqueBlack = 0xFF000000u;

} // namespace

void TSaveStrip::Start()
{
    picture_ = NewPicture(kWidth, kHeight);
    picture_.fill(kOpaqueBlack);
    position_ = 0;
}

void TSaveStrip::Fade()
{
    if (picture_.isNull())
        return;
    const PixelRows<std::uint32_t> rows = WritableRows(picture_);
    for (int y = 0; y < rows.height; ++y)
        for (int x = 0; x < rows.width; ++x)
            rows[y][x] = AdjustBrightness(rows[y][x], kFadeStep);
}

void TSaveStrip::Add(const QImage& picture)
{
    if (picture_.isNull() || picture.isNull())
        return;
    const TRect slot { position_, 0, position_ + kSlot, kSlot };
    TRect place = PictureBounds(picture);
    FitRect(slot, place, true);
    CenterRect(slot, place);
    {
        QPainter painter(&picture_);
        painter.fillRect(slot.Left, slot.Top, slot.Width(), slot.Height(), QColor(Qt::black));
        StretchDraw(picture, PictureBounds(picture), place, true, painter);
    }
    position_ += kPitch;
    if (position_ + kSlot > kWidth)
        position_ = 0;
}

void TSaveStrip::Clear()
{
    picture_ = QImage();
    position_ = 0;
}
