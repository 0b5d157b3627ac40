#include "editing/cropframe.h"

#include "imaging/picture.h"
#include "skin/syscolors.h"

#include <algorithm>
#include <cstdint>

namespace {

// Corner bands of the frame, in pixels from its edges.
constexpr int kLeftBand = 9; // x <= 9
constexpr int kRightBand = 11; // x > w - 11
constexpr int kTopBand = 10; // y < 10
constexpr int kBottomBand = 11;
constexpr int kSmallestFrame = 100;

TRect Offset(TRect rect, int dx, int dy)
{
    rect.Left += dx;
    rect.Right += dx;
    rect.Top += dy;
    rect.Bottom += dy;
    return rect;
}

TRect ScaledBounds(const TDisplayTransform& transform, int width, int height)
{
    TRect scaled { 0, 0, width, height };
    ScaleRect(scaled, transform.scale);
    return scaled;
}

std::uint32_t Blend(std::uint32_t pixel, std::uint32_t background, int alpha)
{
    std::uint32_t result = 0xFF000000u;
    for (const int shift : { 16, 8, 0 }) {
        const int front = int(pixel >> shift) & 0xFF, back = int(background >> shift) & 0xFF;
        result |= std::uint32_t((front * alpha + back * (255 - alpha) + 127) / 255) << shift;
    }
    return result;
}

} // namespace

TDisplayTransform FitPictureInto(const TRect& client, int width, int height)
{
    TRect placed { 0, 0, width, height };
    TDisplayTransform transform;
    transform.scale = FitRect(client, placed, true);
    CenterRect(client, placed);
    transform.ox = placed.Left;
    transform.oy = placed.Top;
    return transform;
}

TRect ImageOnScreen(const TDisplayTransform& transform, int width, int height)
{
    return Offset(ScaledBounds(transform, width, height), transform.ox, transform.oy);
}

TRect FrameOnScreen(const TDisplayTransform& transform, int width, int height, const CropFractions& crop)
{
    const TRect scaled = ScaledBounds(transform, width, height);
    return Offset(FractionsToRect(crop, scaled.Width(), scaled.Height()), transform.ox, transform.oy);
}

TFrameZone FrameZoneAt(int x, int y, int w, int h)
{
    const bool left = x <= kLeftBand, right = x > w - kRightBand;
    const bool top = y<kTopBand, bottom = y> h - kBottomBand;
    if (left && top)
        return kTopLeft;
    if (left && bottom)
        return kBottomLeft;
    if (right && top)
        return kTopRight;
    if (right && bottom)
        return kBottomRight;
    return kMoveZone;
}

TRect ResizeFrame(const TRect& startFrame, TFrameZone corner, int dx)
{
    const bool growsLeftward = corner == kTopLeft || corner == kBottomLeft;
    TRect frame = startFrame;
    SetWidthKeepAspect(frame, startFrame.Width() + (growsLeftward ? dx : -dx), RectAspect(startFrame));
    // The corner opposite the dragged one stays where it was.
    const int shiftX = growsLeftward ? startFrame.Right - frame.Right : 0;
    const int shiftY = corner == kTopLeft || corner == kTopRight ? startFrame.Bottom - frame.Bottom : 0;
    return Offset(frame, shiftX, shiftY);
}

bool FrameFits(const TRect& frame, const TRect& image)
{
    return frame.Width() >= kSmallestFrame && frame.Height() >= kSmallestFrame && frame.Left >= image.Left
        && frame.Top >= image.Top && frame.Right <= image.Right && frame.Bottom <= image.Bottom;
}

TFrameMove::TFrameMove(int cursorX, int cursorY, const TRect& frame, const TRect& image)
    : startX_(cursorX)
    , startY_(cursorY)
    , startFrame_(frame)
    , confinement_ { cursorX + image.Left - frame.Left, cursorY + image.Top - frame.Top,
        cursorX + image.Right - frame.Right, cursorY + image.Bottom - frame.Bottom }
{
    // A frame already reaching beyond the picture may not move that way, nor farther out.
    confinement_.Right = std::max(confinement_.Right, confinement_.Left);
    confinement_.Bottom = std::max(confinement_.Bottom, confinement_.Top);
}

TRect TFrameMove::FrameAt(int x, int y) const
{
    const int confinedX = std::clamp(x, confinement_.Left, confinement_.Right);
    const int confinedY = std::clamp(y, confinement_.Top, confinement_.Bottom);
    return Offset(startFrame_, confinedX - startX_, confinedY - startY_);
}

CropFractions MoveCrop(const CropFractions& crop, int dx, int dy, int width, int height)
{
    const TRect rect = FractionsToRect(crop, width, height);
    const int x = std::clamp(rect.Left + dx, 0, std::max(width - rect.Width(), 0));
    const int y = std::clamp(rect.Top + dy, 0, std::max(height - rect.Height(), 0));
    return RectToFractions(Offset(rect, x - rect.Left, y - rect.Top), width, height);
}

CropFractions FrameToCrop(const TRect& frame, const TDisplayTransform& transform, int width, int height)
{
    const TRect scaled = ScaledBounds(transform, width, height);
    const TRect onScaled = Offset(frame, -transform.ox, -transform.oy);
    TRect crop = FractionsToRect(RectToFractions(onScaled, scaled.Width(), scaled.Height()), width, height);
    crop = Offset(crop, std::max(-crop.Left, 0), std::max(-crop.Top, 0));
    return RectToFractions(crop, width, height);
}

QImage ShadeOutsideCrop(const QImage& working, const TRect& cropRect, int alpha, int background)
{
    const int fade = std::clamp(alpha, 0, 255);
    const std::uint32_t back = ColorRefToColor(quint32(background)).rgb();
    const QImage source = As32BitPicture(working);
    QImage display = NewPicture(source.width(), source.height());
    if (display.isNull())
        return display;
    const PixelRows<const std::uint32_t> in = ReadableRows(source);
    const PixelRows<std::uint32_t> out = WritableRows(display);
    for (int y = 0; y < in.height; ++y) {
        const bool rowInside = y >= cropRect.Top && y < cropRect.Bottom;
        for (int x = 0; x < in.width; ++x) {
            const bool inside = rowInside && x >= cropRect.Left && x < cropRect.Right;
            out[y][x] = inside ? in[y][x] | 0xFF000000u : Blend(in[y][x], back, fade);
        }
    }
    return display;
}
