#pragma once
// The crop window's arithmetic: where the picture and the crop frame lie on the paint box,
// which zone of the frame the mouse is in, how corner drags resize the frame, how a move
// stays inside the picture, how a frame becomes crop fractions again, and the faded picture
// around the crop.
#include "core/rect.h"
#include "imaging/geometry.h"

#include <QImage>

// The picture fitted (enlarging too) and centred in the paint box: scale and top-left corner.
struct TDisplayTransform {
    float scale = 0;
    int ox = 0;
    int oy = 0;
};
TDisplayTransform FitPictureInto(const TRect& client, int width, int height);

// The picture's bounds on the paint box.
TRect ImageOnScreen(const TDisplayTransform& transform, int width, int height);
// The crop on the paint box.
TRect FrameOnScreen(const TDisplayTransform& transform, int width, int height, const CropFractions& crop);

// Zones of the frame under the mouse; they are also the drag modes.
enum TFrameZone : int {
    kNoDrag = -1,
    kTopLeft = 0,
    kTopRight = 1,
    kBottomLeft = 2,
    kBottomRight = 3,
    kMoveZone = 4,
};
// Zone of the point (x, y) inside a frame of w x h: corners of about 10 pixels, the rest moves.
TFrameZone FrameZoneAt(int x, int y, int w, int h);

// The frame as it stood when a corner drag started, resized by the cursor's horizontal travel
// (dx = start x - current x) keeping its aspect ratio, the opposite corner fixed.
TRect ResizeFrame(const TRect& startFrame, TFrameZone corner, int dx);
// A resized frame is taken only when it is at least 100 x 100 and inside the shown picture.
bool FrameFits(const TRect& frame, const TRect& image);

// A move of the frame with the mouse. The cursor counts as confined to the rectangle in which
// the frame stays inside the shown picture: outside it, the nearest point inside is used.
class TFrameMove {
public:
    TFrameMove(int cursorX, int cursorY, const TRect& frame, const TRect& image);
    // The frame for the cursor at (x, y).
    TRect FrameAt(int x, int y) const;

private:
    int startX_;
    int startY_;
    TRect startFrame_;
    TRect confinement_; // inclusive limits of the cursor
};

// The crop moved by (dx, dy) pixels of a width x height picture and kept on it, its size in
// pixels unchanged: the keyboard's step, which a round trip through the screen would shrink.
CropFractions MoveCrop(const CropFractions& crop, int dx, int dy, int width, int height);

// The frame on the paint box back to crop fractions of the picture: through fractions of the
// scaled picture to pixels of the picture, pushed inside at the left and top.
CropFractions FrameToCrop(const TRect& frame, const TDisplayTransform& transform, int width, int height);

// The display picture: the working picture faded outside cropRect toward background (a colour
// value with red in the low byte; -1 is white) with alpha (limited to 0..255: 0 shows only the
// background, 255 no fading). Opaque, Format_ARGB32.
QImage ShadeOutsideCrop(const QImage& working, const TRect& cropRect, int alpha, int background);
