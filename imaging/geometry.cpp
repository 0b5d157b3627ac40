#include "imaging/geometry.h"

#include "imaging/parallelrows.h"
#include "imaging/picture.h"
#include "imaging/rounding.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

namespace {

constexpr int kTile = 64; // quarter turns move pixels in 64 x 64 tiles to stay in cache

void EnsureArgb32(QImage& picture)
{
    if (picture.format() != QImage::Format_ARGB32)
        picture = As32BitPicture(picture);
}

// Turns a W x H source into the H x W target by a quarter turn; sourceOf(targetRow,
// targetColumn) gives the source pixel's (x, y).
template <typename SourceOf> void TurnInto(const QImage& source, QImage& target, SourceOf sourceOf)
{
    const PixelRows<const std::uint32_t> in = ReadableRows(source);
    const PixelRows<std::uint32_t> out = WritableRows(target);
    const int targetWidth = out.width;
    ParallelRows(out.height, targetWidth, [&](int firstRow, int endRow) {
        for (int rowTile = firstRow; rowTile < endRow; rowTile += kTile) {
            const int rowEnd = std::min(rowTile + kTile, endRow);
            for (int columnTile = 0; columnTile < targetWidth; columnTile += kTile) {
                const int columnEnd = std::min(columnTile + kTile, targetWidth);
                for (int row = rowTile; row < rowEnd; ++row) {
                    std::uint32_t* targetRow = out[row];
                    for (int column = columnTile; column < columnEnd; ++column) {
                        const auto [x, y] = sourceOf(row, column);
                        targetRow[column] = in[y][x];
                    }
                }
            }
        }
    });
}

// A half turn: row y swaps with row H - 1 - y, each reversed; the middle row of an odd
// height is reversed in place. Pairs of rows go to the cores in bands.
void ReverseAllPixels(QImage& picture)
{
    const PixelRows<std::uint32_t> rows = WritableRows(picture);
    const int width = rows.width, height = rows.height;
    ParallelRows(height / 2, 2 * std::int64_t(width), [&](int firstPair, int endPair) {
        for (int top = firstPair; top < endPair; ++top) {
            std::uint32_t* upper = rows[top];
            std::uint32_t* lower = rows[height - 1 - top];
            for (int x = 0; x < width; ++x)
                std::swap(upper[x], lower[width - 1 - x]);
        }
    });
    if (height % 2 == 1)
        std::reverse(rows[height / 2], rows[height / 2] + width);
}

// Draws the whole of source scaled into rect of target (rect inside target).
void DrawScaledNearest(const QImage& source, QImage& target, const TRect& rect)
{
    const std::vector<int> columns = NearestMap(rect.Width(), source.width());
    const std::vector<int> rows = NearestMap(rect.Height(), source.height());
    const PixelRows<const std::uint32_t> sourceRows = ReadableRows(source);
    const PixelRows<std::uint32_t> targetRows = WritableRows(target);
    ParallelRows(rect.Height(), rect.Width(), [&](int firstRow, int endRow) {
        for (int row = firstRow; row < endRow; ++row) {
            const std::uint32_t* in = sourceRows[rows[std::size_t(row)]];
            std::uint32_t* out = targetRows[rect.Top + row] + rect.Left;
            for (std::size_t column = 0; column < columns.size(); ++column)
                out[column] = in[columns[column]];
        }
    });
}

void Fill(QImage& picture, std::uint32_t value)
{
    const PixelRows<std::uint32_t> rows = WritableRows(picture);
    ParallelRows(rows.height, rows.width, [&](int firstRow, int endRow) {
        for (int row = firstRow; row < endRow; ++row)
            std::fill_n(rows[row], rows.width, value);
    });
}

} // namespace

std::vector<int> NearestMap(int count, int sourceCount)
{
    std::vector<int> map(std::size_t(std::max(count, 0)));
    for (int i = 0; i < count; ++i)
        map[std::size_t(i)] = int((2 * std::int64_t(i) + 1) * sourceCount / (2 * std::int64_t(count)));
    return map;
}

TRect PictureBounds(const QImage& picture)
{
    return { 0, 0, picture.width(), picture.height() };
}

bool RotateQuarter(QImage& picture, int code)
{
    if (code < 1 || code > 3 || picture.isNull())
        return true;
    EnsureArgb32(picture);
    const int width = picture.width(), height = picture.height();
    if (code == 2) {
        ReverseAllPixels(picture);
        return !picture.isNull();
    }
    QImage turned = NewPicture(height, width);
    if (turned.isNull())
        return false;
    struct Point {
        int x, y;
    };
    if (code == 1) // (x, y) -> (H - 1 - y, x)
        TurnInto(picture, turned, [&](int row, int column) { return Point { row, height - 1 - column }; });
    else // (x, y) -> (y, W - 1 - x)
        TurnInto(picture, turned, [&](int row, int column) { return Point { width - 1 - row, column }; });
    picture = std::move(turned);
    return true;
}

bool UprightByOrientation(QImage& picture, int orientation)
{
    if (orientation < 2 || orientation > 8 || picture.isNull())
        return true;
    // Each orientation is a mirror left to right (or none), then a rotation code:
    // 2 mirror; 3 half turn; 4 mirror + half turn; 5 mirror + counter-clockwise quarter;
    // 6 clockwise quarter; 7 mirror + clockwise quarter; 8 counter-clockwise quarter.
    static constexpr struct {
        bool mirror;
        int rotation;
    } kSteps[] = { { true, 0 }, { false, 2 }, { true, 2 }, { true, 3 }, { false, 1 }, { true, 1 }, { false, 3 } };
    const auto& step = kSteps[orientation - 2];
    EnsureArgb32(picture);
    if (step.mirror) {
        picture.mirror(true, false);
        if (picture.isNull())
            return false;
    }
    return RotateQuarter(picture, step.rotation);
}

bool CropBitmap(QImage& picture, QImage* dest, TRect rect, bool clip)
{
    if (picture.isNull())
        return false;
    if (clip) {
        rect.Right = std::min(rect.Right, picture.width());
        rect.Bottom = std::min(rect.Bottom, picture.height());
        rect.Left = std::max(rect.Left, 0);
        rect.Top = std::max(rect.Top, 0);
    } else if (rect.Right > picture.width() || rect.Bottom > picture.height() || rect.Left < 0 || rect.Top < 0) {
        return false; // "Invalid crop call."
    }
    if (rect.Width() <= 0 || rect.Height() <= 0)
        return false;
    EnsureArgb32(picture);

    const bool inPlace = dest == nullptr || dest == &picture;
    QImage temporary;
    QImage* target = dest;
    if (inPlace) {
        temporary = NewPicture(rect.Width(), rect.Height());
        target = &temporary;
    }
    if (target->isNull() || target->format() != QImage::Format_ARGB32 || target->width() < rect.Width()
        || target->height() < rect.Height())
        return false;
    const PixelRows<const std::uint32_t> in = ReadableRows(picture);
    const PixelRows<std::uint32_t> out = WritableRows(*target);
    const std::size_t rowBytes = std::size_t(rect.Width()) * 4;
    for (int y = rect.Top; y < rect.Bottom; ++y)
        std::memcpy(out[y - rect.Top], in[y] + rect.Left, rowBytes);
    if (inPlace)
        picture = std::move(temporary);
    return true;
}

bool CropByFractions(QImage& picture, const CropFractions& fractions)
{
    return CropBitmap(picture, nullptr, FractionsToRect(fractions, picture.width(), picture.height()), true);
}

float FitRect(const TRect& box, TRect& obj, bool allowEnlarge)
{
    const std::int64_t objWidth = obj.Width(), objHeight = obj.Height();
    if (objWidth == 0 || objHeight == 0 || box.Width() == 0 || box.Height() == 0)
        return 0.0f;
    // The ratios are stored in double precision; the divisions by them run in extended.
    double rx = double(static_cast<long double>(objWidth) / box.Width());
    double ry = double(static_cast<long double>(objHeight) / box.Height());
    if (!allowEnlarge) {
        rx = std::max(rx, 1.0);
        ry = std::max(ry, 1.0);
    }
    const double r = rx > ry ? rx : ry;
    const std::int32_t newWidth = RoundToInt32(objWidth / static_cast<long double>(r));
    const std::int32_t newHeight = RoundToInt32(objHeight / static_cast<long double>(r));
    obj = { box.Left, box.Top, box.Left + newWidth, box.Top + newHeight };
    return float(static_cast<long double>(newWidth) / objWidth);
}

void CenterRect(const TRect& box, TRect& obj)
{
    const std::int32_t width = obj.Width(), height = obj.Height();
    obj.Left = box.Left + (box.Width() - width) / 2;
    obj.Top = box.Top + (box.Height() - height) / 2;
    obj.Right = obj.Left + width;
    obj.Bottom = obj.Top + height;
}

TRect FractionsToRect(const CropFractions& fractions, int width, int height)
{
    const auto scaled = [](int size, float fraction) {
        return RoundToInt32(static_cast<long double>(size) * static_cast<long double>(fraction));
    };
    return { scaled(width, fractions.left), scaled(height, fractions.top), scaled(width, fractions.right),
        scaled(height, fractions.bottom) };
}

CropFractions RectToFractions(const TRect& rect, int width, int height)
{
    if (width <= 0 || height <= 0)
        return { kNoCrop, 0, 0, 0, 0, 0 };
    const auto fraction = [](std::int32_t value, int size) { return float(static_cast<long double>(value) / size); };
    return { fraction(rect.Left, width), fraction(rect.Top, height), fraction(rect.Width(), width),
        fraction(rect.Height(), height), fraction(rect.Right, width), fraction(rect.Bottom, height) };
}

float RectAspect(const TRect& rect)
{
    if (rect.Height() == 0)
        return std::numeric_limits<float>::quiet_NaN();
    return float(static_cast<long double>(rect.Width()) / rect.Height());
}

void SetWidthKeepAspect(TRect& rect, int newWidth, float aspect)
{
    if (aspect < 0 || std::isnan(aspect))
        aspect = RectAspect(rect);
    rect.Right = rect.Left + newWidth;
    const long double height = newWidth / static_cast<long double>(aspect);
    if (std::isfinite(height))
        rect.Bottom = rect.Top + RoundToInt32(height);
}

void ScaleRect(TRect& rect, float s)
{
    const float width = float(rect.Width()) * s;
    const float height = float(rect.Height()) * s;
    rect.Right = rect.Left + RoundToInt32(width);
    rect.Bottom = rect.Top + RoundToInt32(height);
}

CropFractions AutoCropFractions(const TRect& formatRect, const TRect& imageRect)
{
    TRect crop = formatRect;
    FitRect(imageRect, crop, true);
    CenterRect(imageRect, crop);
    return RectToFractions(crop, imageRect.Width(), imageRect.Height());
}

bool ResampleToFit(QImage& picture, int width, int height, QImage* dest)
{
    TRect size = PictureBounds(picture);
    if (picture.isNull() || FitRect({ 0, 0, width, height }, size, true) == 0.0f)
        return false;
    return ResampleToSize(picture, size.Width(), size.Height(), dest);
}

bool ResampleToSize(QImage& picture, int width, int height, QImage* dest)
{
    if (picture.isNull() || width <= 0 || height <= 0)
        return false;
    EnsureArgb32(picture);
    QImage resampled = NewPicture(width, height);
    if (resampled.isNull())
        return false;
    DrawScaledNearest(picture, resampled, PictureBounds(resampled));
    (dest ? *dest : picture) = std::move(resampled);
    return true;
}

bool FitIntoFrame(const TRect& formatRect, QImage& picture, std::uint32_t fill, const TRect& box)
{
    if (formatRect.Left < 0)
        return true;
    if (picture.isNull())
        return false;
    TRect sheet = formatRect;
    if (box.Left >= 0 && FitRect(box, sheet, true) == 0.0f)
        return false;
    QImage framed = NewPicture(sheet.Width(), sheet.Height());
    if (framed.isNull())
        return false;
    EnsureArgb32(picture);
    const TRect sheetBounds = PictureBounds(framed);
    TRect place = PictureBounds(picture);
    if (FitRect(sheetBounds, place, true) == 0.0f)
        return false;
    CenterRect(sheetBounds, place);
    Fill(framed, fill);
    DrawScaledNearest(picture, framed, place);
    picture = std::move(framed);
    return true;
}

void StretchDraw(const QImage& source, const TRect& sourceRect, const TRect& destRect, bool fast, QPainter& dest)
{
    dest.save();
    dest.setRenderHint(QPainter::SmoothPixmapTransform, !fast);
    dest.drawImage(QRect(destRect.Left, destRect.Top, destRect.Width(), destRect.Height()), source,
        QRect(sourceRect.Left, sourceRect.Top, sourceRect.Width(), sourceRect.Height()));
    dest.restore();
}

float PixelsToMm(int px, int dpi)
{
    if (dpi == 0)
        return 0.0f;
    return float(static_cast<long double>(px) / dpi * 25.4L);
}

float EnlargementFactor(const TRect& formatRect, const TRect& cropRect)
{
    TRect crop = cropRect;
    return FitRect(formatRect, crop, true);
}

float CropEnlargement(const TRect& formatRect, int width, int height, int rotation, const CropFractions& crop)
{
    if (rotation == 1 || rotation == 3)
        std::swap(width, height);
    return EnlargementFactor(formatRect, FractionsToRect(crop, width, height));
}
