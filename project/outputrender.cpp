#include "project/outputrender.h"

#include "imaging/colourpass.h"
#include "imaging/geometry.h"
#include "imaging/parallelrows.h"
#include "imaging/picture.h"
#include "imaging/pixel.h"

#include <algorithm>
#include <memory>
#include <mutex>
#include <vector>

namespace {

constexpr std::uint32_t kWhite = 0xFFFFFFFF;
// Rows gathered together when a quarter turn makes a sheet row read a source column: the
// block's reads then walk along source rows and stay in cache.
constexpr int kTurnBlock = 64;

// The turn and crop of a record against one source, as ApplyCorrections would do them.
struct TPlan {
    int code = 0; // quarter turns actually applied (0..3)
    int width = 0; // source size
    int height = 0;
    TRect crop; // in the turned picture
    bool colour = false; // ApplyCorrections reaches its colour operations
};

TPlan PlanGeometry(const QImage& source, const Corrections& record)
{
    TPlan plan;
    plan.code = record.rotation >= 1 && record.rotation <= 3 ? record.rotation : 0;
    plan.width = source.width();
    plan.height = source.height();
    const bool quarter = plan.code == 1 || plan.code == 3;
    const int turnedWidth = quarter ? plan.height : plan.width;
    const int turnedHeight = quarter ? plan.width : plan.height;
    plan.crop = { 0, 0, turnedWidth, turnedHeight };
    plan.colour = !HasNoColourChange(record);
    if (record.crop.left > kNoCrop) {
        TRect crop = FractionsToRect(record.crop, turnedWidth, turnedHeight);
        crop.Right = std::min(crop.Right, turnedWidth);
        crop.Bottom = std::min(crop.Bottom, turnedHeight);
        crop.Left = std::max(crop.Left, 0);
        crop.Top = std::max(crop.Top, 0);
        if (crop.Width() > 0 && crop.Height() > 0)
            plan.crop = crop;
        else
            plan.colour = false; // a crop that leaves nothing stops ApplyCorrections before the colours
    }
    return plan;
}

int SumRgb(std::uint32_t pixel)
{
    return Red(pixel) + Green(pixel) + Blue(pixel);
}

// Sum of R + G + B over each row of the turned and cropped picture, top row first.
std::vector<std::uint64_t> TurnedRowSums(const PixelRows<const std::uint32_t>& source, const TPlan& plan)
{
    const TRect& crop = plan.crop;
    std::vector<std::uint64_t> sums(std::size_t(crop.Height()), 0);
    const int width = plan.width, height = plan.height;
    if (plan.code == 0 || plan.code == 2) {
        // Turned row y is source row y (code 2: row H-1-y, columns mirrored).
        const int first = plan.code == 0 ? crop.Left : width - crop.Right;
        ParallelRows(crop.Height(), crop.Width(), [&](int firstRow, int endRow) {
            for (int row = firstRow; row < endRow; ++row) {
                const int y = crop.Top + row;
                const std::uint32_t* pixels = source[plan.code == 0 ? y : height - 1 - y] + first;
                std::uint64_t sum = 0;
                for (int x = 0; x < crop.Width(); ++x)
                    sum += std::uint64_t(SumRgb(pixels[x]));
                sums[std::size_t(row)] = sum;
            }
        });
        return sums;
    }
    // Quarter turns: turned row y is a source column, turned column x a source row.
    // Code 1: (x, y) <- source (y, H-1-x); code 3: (x, y) <- source (W-1-y, x).
    const int firstColumn = plan.code == 1 ? crop.Top : width - crop.Bottom;
    const int columns = crop.Height();
    const int firstSourceRow = plan.code == 1 ? height - crop.Right : crop.Left;
    std::mutex merge;
    ParallelRows(crop.Width(), columns, [&](int firstRow, int endRow) {
        std::vector<std::uint64_t> band(std::size_t(columns), 0);
        for (int row = firstRow; row < endRow; ++row) {
            const std::uint32_t* pixels = source[firstSourceRow + row] + firstColumn;
            for (int c = 0; c < columns; ++c)
                band[std::size_t(c)] += std::uint64_t(SumRgb(pixels[c]));
        }
        const std::lock_guard<std::mutex> lock(merge);
        for (int c = 0; c < columns; ++c) {
            const int turnedRow = plan.code == 1 ? c : columns - 1 - c;
            sums[std::size_t(turnedRow)] += band[std::size_t(c)];
        }
    });
    return sums;
}

// AverageGrey of the turned and cropped picture.
int ContrastPivot(const PixelRows<const std::uint32_t>& source, const TPlan& plan)
{
    const std::uint64_t divisor = 4 * std::uint64_t(plan.crop.Width()) - 1;
    std::int64_t shares = 0;
    for (const std::uint64_t sum : TurnedRowSums(source, plan))
        shares += std::int64_t(sum / divisor);
    return int(shares / std::max(plan.crop.Height() - 1, 1));
}

// Index of the source pixel under the centre of each of `count` targets spread over
// `sourceCount` sources (the nearest-neighbour rule of the imaging geometry).
std::vector<int> NearestSources(int count, int sourceCount, int offset)
{
    std::vector<int> map(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i)
        map[std::size_t(i)] = offset + int((2 * std::int64_t(i) + 1) * sourceCount / (2 * std::int64_t(count)));
    return map;
}

// Where each placed row and column of the sheet reads the source. Without a quarter turn a
// sheet row reads one source row (rowIndex[j]) at columns columnIndex[i]; with one, a sheet
// column reads one source row (rowIndex[i]) at columns columnIndex[j].
struct TSampling {
    bool quarter = false;
    std::vector<int> rowIndex;
    std::vector<int> columnIndex;
};

TSampling PlanSampling(const TPlan& plan, const TRect& place)
{
    // Turned coordinates of the placed pixels, then the source coordinates they come from.
    std::vector<int> tx = NearestSources(place.Width(), plan.crop.Width(), plan.crop.Left);
    std::vector<int> ty = NearestSources(place.Height(), plan.crop.Height(), plan.crop.Top);
    const auto mirror = [](std::vector<int>& values, int size) {
        for (int& v : values)
            v = size - 1 - v;
    };
    TSampling sampling;
    switch (plan.code) {
    case 1: // (x, y) <- source (y, H-1-x)
        mirror(tx, plan.height);
        sampling = { true, std::move(tx), std::move(ty) };
        break;
    case 2: // (x, y) <- source (W-1-x, H-1-y)
        mirror(tx, plan.width);
        mirror(ty, plan.height);
        sampling = { false, std::move(ty), std::move(tx) };
        break;
    case 3: // (x, y) <- source (W-1-y, x)
        mirror(ty, plan.width);
        sampling = { true, std::move(tx), std::move(ty) };
        break;
    default:
        sampling = { false, std::move(ty), std::move(tx) };
    }
    return sampling;
}

// Fills sheet rows [firstRow, endRow) that lie in the placed band: gathered pixels inside
// place, white beside it.
void GatherRows(const PixelRows<const std::uint32_t>& source, const PixelRows<std::uint32_t>& sheet, const TRect& place,
    const TSampling& sampling, int firstRow, int endRow)
{
    const int placeWidth = place.Width();
    for (int y = firstRow; y < endRow; ++y) {
        std::fill_n(sheet[y], place.Left, kWhite);
        std::fill(sheet[y] + place.Right, sheet[y] + sheet.width, kWhite);
    }
    if (!sampling.quarter) {
        for (int y = firstRow; y < endRow; ++y) {
            const std::uint32_t* in = source[sampling.rowIndex[std::size_t(y - place.Top)]];
            std::uint32_t* out = sheet[y] + place.Left;
            for (int x = 0; x < placeWidth; ++x)
                out[x] = in[sampling.columnIndex[std::size_t(x)]];
        }
        return;
    }
    for (int blockStart = firstRow; blockStart < endRow; blockStart += kTurnBlock) {
        const int blockEnd = std::min(blockStart + kTurnBlock, endRow);
        for (int x = 0; x < placeWidth; ++x) {
            const std::uint32_t* in = source[sampling.rowIndex[std::size_t(x)]];
            for (int y = blockStart; y < blockEnd; ++y)
                sheet[y][place.Left + x] = in[sampling.columnIndex[std::size_t(y - place.Top)]];
        }
    }
}

QImage WhiteSheet(const TRect& formatRect)
{
    QImage sheet = NewPicture(formatRect.Width(), formatRect.Height());
    if (!sheet.isNull())
        sheet.fill(kWhite);
    return sheet;
}

} // namespace

bool SheetAllowed(const TRect& formatRect)
{
    return formatRect.Left < 0 || PictureSizeAllowed(formatRect.Width(), formatRect.Height());
}

QImage RenderPrint(QImage source, const Corrections& record, const TRect& formatRect)
{
    if (!SheetAllowed(formatRect))
        return {};
    const bool onSheet = formatRect.Left >= 0 && formatRect.Width() > 0 && formatRect.Height() > 0;
    if (source.isNull())
        return onSheet ? WhiteSheet(formatRect) : QImage();
    source = As32BitPicture(source);
    const TPlan plan = PlanGeometry(source, record);

    TRect place = { 0, 0, plan.crop.Width(), plan.crop.Height() };
    QImage sheet;
    if (onSheet) {
        sheet = NewPicture(formatRect.Width(), formatRect.Height());
        const TRect bounds = PictureBounds(sheet);
        FitRect(bounds, place, true);
        CenterRect(bounds, place);
    } else {
        sheet = NewPicture(place.Width(), place.Height());
    }
    if (sheet.isNull() || place.Width() <= 0 || place.Height() <= 0)
        return {};

    const PixelRows<const std::uint32_t> in = ReadableRows(source);
    const PixelRows<std::uint32_t> out = WritableRows(sheet);
    const TSampling sampling = PlanSampling(plan, place);
    std::unique_ptr<TColourPass> pass;
    if (plan.colour) {
        const int pivot = record.contr != 0 ? ContrastPivot(in, plan) : 0;
        pass = std::make_unique<TColourPass>(record, pivot, std::int64_t(place.Width()) * place.Height());
    }
    ParallelRows(out.height, out.width, [&](int firstRow, int endRow) {
        const int bandStart = std::max(firstRow, place.Top), bandEnd = std::min(endRow, place.Bottom);
        for (int y = firstRow; y < endRow; ++y)
            if (y < place.Top || y >= place.Bottom)
                std::fill_n(out[y], out.width, kWhite);
        if (bandStart >= bandEnd)
            return;
        GatherRows(in, out, place, sampling, bandStart, bandEnd);
        if (pass)
            for (int y = bandStart; y < bandEnd; ++y)
                pass->ApplyRow(out[y] + place.Left, place.Width());
    });
    return sheet;
}
