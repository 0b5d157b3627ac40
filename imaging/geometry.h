#pragma once
// Rectangle arithmetic and whole-picture geometry: quarter turns, crops, fitting, framing on a
// print sheet, nearest-neighbour resampling, millimetre/pixel conversion. Plain functions
// without state; pictures are 32-bit (imaging/picture.h) and any other format is converted
// first. TRect and MmToPixels come from core/rect.h.
//
// "round" here is rounding to the nearest integer with ties to the even one. Steps that the
// program has always computed in extended precision (x87 long double) still are, and values
// stored as 32-bit floats are rounded to float where they are stored, so every result is
// reproducible to the last bit.
#include "core/rect.h"

#include <QImage>

#include <cstdint>
#include <vector>

class QPainter;

// (0, 0, width, height).
TRect PictureBounds(const QImage& picture);

// Crop fractions of the rotated picture: left, width and right are divided by its width, top,
// height and bottom by its height. left = kNoCrop (-1) means no crop.
struct CropFractions {
    float left;
    float top;
    float width;
    float height;
    float right;
    float bottom;

    bool operator==(const CropFractions&) const = default;
};
static_assert(sizeof(CropFractions) == 24);
inline constexpr float kNoCrop = -1.0f;

// Rotation codes: 0 none, 1 a quarter turn clockwise, 2 a half turn, 3 a quarter turn
// counter-clockwise. Other codes leave the picture unchanged. False only when memory is short.
bool RotateQuarter(QImage& picture, int code);

// Turns and mirrors stored pixels of the given TIFF/EXIF orientation (imaging/imageinfo.h) into
// the upright picture; any value outside 2..8 leaves the picture unchanged. False only when
// memory is short.
bool UprightByOrientation(QImage& picture, int orientation);

// Copies rect of picture into the top-left corner of dest, or replaces picture by it when dest
// is null or the picture itself. With clip the rectangle is first limited to the picture;
// without clip a rectangle reaching outside the picture is refused ("Invalid crop call.").
// False as well for a rectangle that is empty (after clipping), a dest that is too small or
// not 32-bit, or short memory; the picture is then unchanged.
bool CropBitmap(QImage& picture, QImage* dest, TRect rect, bool clip);

// CropBitmap in place with clip, rect = FractionsToRect(fractions, width, height).
bool CropByFractions(QImage& picture, const CropFractions& fractions);

// Moves obj to box's top-left corner and scales it to fit in box keeping its aspect ratio;
// without allowEnlarge obj is never made larger. Returns the applied scale (new width / old
// width). A box or obj of zero width or height is left alone and gives 0.
float FitRect(const TRect& box, TRect& obj, bool allowEnlarge);

// Moves obj so that it is centred in box (offsets truncated toward zero); size unchanged.
void CenterRect(const TRect& box, TRect& obj);

// (round(W * left), round(H * top), round(W * right), round(H * bottom)), each product formed in
// extended precision. Non-finite products give 0.
TRect FractionsToRect(const CropFractions& fractions, int width, int height);

// Each coordinate divided by the picture's width or height, stored as 32-bit floats. A
// non-positive width or height gives "no crop".
CropFractions RectToFractions(const TRect& rect, int width, int height);

// width / height as a 32-bit float; not-a-number when the height is 0.
float RectAspect(const TRect& rect);

// Right = Left + newWidth; Bottom = Top + round(newWidth / aspect). A negative or not-a-number
// aspect means the rectangle's own; when no finite height results, Bottom is left alone.
void SetWidthKeepAspect(TRect& rect, int newWidth, float aspect);

// Right = Left + round(width * s), Bottom = Top + round(height * s), products in 32-bit floats.
void ScaleRect(TRect& rect, float s);

// The largest crop with the format's aspect ratio, centred on the image.
CropFractions AutoCropFractions(const TRect& formatRect, const TRect& imageRect);

// The picture scaled (up or down) to fit within width x height keeping its aspect ratio, with
// nearest-neighbour sampling; into dest, or in place when dest is null. False when a size is
// empty or memory is short.
bool ResampleToFit(QImage& picture, int width, int height, QImage* dest = nullptr);

// The nearest-neighbour source index of each of `count` target positions over `sourceCount`
// sources (the source pixel under the target pixel's centre): the sampling of the resampling
// functions here, for code that samples rows as they arrive.
std::vector<int> NearestMap(int count, int sourceCount);

// The picture scaled to exactly width x height (a size FitRect gave, say) with nearest-neighbour
// sampling; into dest, or in place when dest is null. False when a size is empty or memory is
// short.
bool ResampleToSize(QImage& picture, int width, int height, QImage* dest = nullptr);

// Replaces picture by a sheet of the print format's aspect filled with `fill` (a pixel value
// A << 24 | R << 16 | G << 8 | B; 0xFFFFFFFF is opaque white) with the picture scaled to touch
// two opposite sides and centred. The sheet has the format's own pixel size when box.Left < 0,
// else it is fitted into box. Does nothing when formatRect.Left < 0 (no format). False when a
// size is empty or memory is short.
bool FitIntoFrame(const TRect& formatRect, QImage& picture, std::uint32_t fill, const TRect& box);

// Draws sourceRect of source into destRect through dest: fast is plain nearest sampling,
// otherwise smooth (the crop window's background).
void StretchDraw(const QImage& source, const TRect& sourceRect, const TRect& destRect, bool fast, QPainter& dest);

// px / dpi * 25.4; 0 when dpi is 0.
float PixelsToMm(int px, int dpi);

// FitRect(formatRect, copy of cropRect, true): above 1.0 the print needs more pixels than the
// crop holds.
float EnlargementFactor(const TRect& formatRect, const TRect& cropRect);

// EnlargementFactor of a photo of width x height pixels as decoded, turned by rotation and
// cropped by crop (fractions of the turned photo).
float CropEnlargement(const TRect& formatRect, int width, int height, int rotation, const CropFractions& crop);
