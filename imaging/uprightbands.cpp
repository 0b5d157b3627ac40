#include "imaging/uprightbands.h"

#include "imaging/geometry.h"
#include "imaging/picture.h"

#include <algorithm>

namespace {

// How each orientation maps a stored pixel (x, y) of a W x H photo, following
// UprightByOrientation (a mirror, then a quarter or half turn):
// 1 (x, y); 2 (W-1-x, y); 3 (W-1-x, H-1-y); 4 (x, H-1-y) keep rows as rows;
// 5 row x, column y; 6 row x, column H-1-y; 7 row W-1-x, column H-1-y; 8 row W-1-x, column y.
struct Mapping {
    bool turns;
    bool reverseX;
    bool reverseY;
};

Mapping MappingOf(int orientation)
{
    static constexpr Mapping kMappings[] = { { false, true, false }, { false, true, true }, { false, false, true },
        { true, false, false }, { true, false, true }, { true, true, true }, { true, true, false } };
    if (orientation < 2 || orientation > 8)
        return { false, false, false };
    return kMappings[orientation - 2];
}

} // namespace

TUprightBands::TUprightBands(int width, int height, int orientation, int previewSize)
    : width_(width)
    , height_(height)
{
    const Mapping mapping = MappingOf(orientation);
    turns_ = mapping.turns;
    reverseX_ = mapping.reverseX;
    reverseY_ = mapping.reverseY;
    upright_ = turns_ ? QSize(height, width) : QSize(width, height);
    TRect fitted { 0, 0, upright_.width(), upright_.height() };
    FitRect({ 0, 0, previewSize, previewSize }, fitted, false);
    previewSize_ = QSize(fitted.Width(), fitted.Height());
}

const char* TUprightBands::Begin(const QString& workingPath)
{
    if (!file_.Create(workingPath, upright_.width(), upright_.height()))
        return "can't write working copy";
    if (turns_) {
        turned_ = NewPicture(upright_.width(), upright_.height());
        return turned_.isNull() ? "out of memory" : nullptr;
    }
    preview_ = NewPicture(previewSize_.width(), previewSize_.height());
    if (preview_.isNull())
        return "can't make preview";
    previewRows_ = NearestMap(previewSize_.height(), upright_.height());
    previewColumns_ = NearestMap(previewSize_.width(), upright_.width());
    return nullptr;
}

void TUprightBands::Sample(int uprightRow, const std::uint32_t* row)
{
    const auto [begin, end] = std::equal_range(previewRows_.begin(), previewRows_.end(), uprightRow);
    const PixelRows<std::uint32_t> out = WritableRows(preview_);
    for (auto at = begin; at != end; ++at) {
        std::uint32_t* target = out[int(at - previewRows_.begin())];
        for (std::size_t x = 0; x < previewColumns_.size(); ++x)
            target[x] = row[previewColumns_[x]];
    }
}

bool TUprightBands::Put(int first, int count, std::uint32_t* rows)
{
    if (first < 0 || count < 0 || count > height_ - first)
        return false;
    const std::size_t width = std::size_t(width_);
    if (turns_) {
        // Stored row y fills one upright column; a band fills neighbouring columns, so each
        // upright row receives a short run per band.
        const PixelRows<std::uint32_t> out = WritableRows(turned_);
        for (int x = 0; x < width_; ++x) {
            std::uint32_t* target = out[reverseX_ ? width_ - 1 - x : x];
            for (int i = 0; i < count; ++i) {
                const int y = first + i;
                target[reverseY_ ? height_ - 1 - y : y] = rows[std::size_t(i) * width + std::size_t(x)];
            }
        }
        return true;
    }
    for (int i = 0; i < count; ++i) {
        std::uint32_t* row = rows + std::size_t(i) * width;
        if (reverseX_)
            std::reverse(row, row + width);
        const int upright = reverseY_ ? height_ - 1 - (first + i) : first + i;
        Sample(upright, row);
        if (reverseY_ && !file_.WriteRows(upright, 1, row))
            return false;
    }
    return reverseY_ || file_.WriteRows(first, count, rows);
}

const char* TUprightBands::End(QImage& preview)
{
    if (turns_) {
        if (!file_.WriteRows(0, upright_.height(), ReadableRows(turned_).base) || !file_.Close())
            return "can't write working copy";
        if (!ResampleToSize(turned_, previewSize_.width(), previewSize_.height(), &preview_))
            return "can't make preview";
        turned_ = QImage();
    } else if (!file_.Close()) {
        return "can't write working copy";
    }
    preview = std::move(preview_);
    preview_ = QImage();
    return nullptr;
}
