#include "project/outputrender.h"

#include "imaging/colourpass.h"
#include "imaging/geometry.h"
#include "imaging/parallelrows.h"
#include "imaging/picture.h"
#include "imaging/pixel.h"
#include "imaging/workingcopy.h"

#include <algorithm>
#include <functional>
#include <memory>
#include <mutex>
#include <numeric>
#include <optional>
#include <span>
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

TPlan PlanGeometry(int width, int height, const Corrections& record)
{
    TPlan plan;
    plan.code = record.rotation >= 1 && record.rotation <= 3 ? record.rotation : 0;
    plan.width = width;
    plan.height = height;
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

// Rows of the source handed out a band at a time.
class TRowSource {
public:
    virtual ~TRowSource() = default;
    virtual int Width() const = 0;
    virtual int Height() const = 0;
    // Makes the given source rows (ascending, at most BandRows()) readable through rows[r],
    // replacing the previous band; false when they cannot be read.
    virtual bool Fetch(std::span<const int> wanted, std::vector<const std::uint32_t*>& rows) = 0;
    virtual int BandRows() const = 0;
};

// A picture in memory: one band of every row, nothing copied.
class TPictureRows final : public TRowSource {
public:
    explicit TPictureRows(const QImage& picture)
        : rows_(ReadableRows(picture))
    {
    }
    int Width() const override { return rows_.width; }
    int Height() const override { return rows_.height; }
    int BandRows() const override { return std::max(rows_.height, 1); }
    bool Fetch(std::span<const int> wanted, std::vector<const std::uint32_t*>& rows) override
    {
        for (const int r : wanted)
            rows[std::size_t(r)] = rows_[r];
        return true;
    }

private:
    PixelRows<const std::uint32_t> rows_;
};

// A working-copy file: each band is read into one buffer of at most bandBytes, runs of
// neighbouring rows with one read each.
class TFileRows final : public TRowSource {
public:
    TFileRows(const TWorkingCopyRows& file, std::int64_t bandBytes)
        : file_(file)
        , bandRows_(int(std::clamp<std::int64_t>(bandBytes / (std::int64_t(file.Width()) * 4), 1, file.Height())))
    {
    }
    int Width() const override { return file_.Width(); }
    int Height() const override { return file_.Height(); }
    int BandRows() const override { return bandRows_; }
    bool Fetch(std::span<const int> wanted, std::vector<const std::uint32_t*>& rows) override
    {
        const std::size_t rowPixels = std::size_t(file_.Width());
        if (buffer_.size() < wanted.size() * rowPixels)
            buffer_.resize(wanted.size() * rowPixels);
        for (std::size_t run = 0; run < wanted.size();) {
            std::size_t runEnd = run + 1;
            while (runEnd < wanted.size() && wanted[runEnd] == wanted[runEnd - 1] + 1)
                ++runEnd;
            const std::span<std::uint32_t> into(buffer_.data() + run * rowPixels, (runEnd - run) * rowPixels);
            if (!file_.Read(wanted[run], int(runEnd - run), into))
                return false;
            for (std::size_t i = run; i < runEnd; ++i)
                rows[std::size_t(wanted[i])] = buffer_.data() + i * rowPixels;
            run = runEnd;
        }
        return true;
    }

private:
    const TWorkingCopyRows& file_;
    int bandRows_;
    std::vector<std::uint32_t> buffer_;
};

// Fetches the wanted source rows (ascending) band by band and calls work(rows, band) for
// each band; rows[r] is valid for the band's rows only.
bool StreamRows(TRowSource& source, const std::vector<int>& wanted,
    const std::function<void(const std::vector<const std::uint32_t*>&, std::span<const int>)>& work)
{
    std::vector<const std::uint32_t*> rows(std::size_t(source.Height()), nullptr);
    const std::size_t bandRows = std::size_t(source.BandRows());
    for (std::size_t first = 0; first < wanted.size(); first += bandRows) {
        const std::span<const int> band
            = std::span<const int>(wanted).subspan(first, std::min(bandRows, wanted.size() - first));
        if (!source.Fetch(band, rows))
            return false;
        work(rows, band);
    }
    return true;
}

// Turned-row sums for the contrast pivot (AverageGrey of the turned and cropped picture),
// gathered from source rows band by band. The pivot divides the R + G + B sum of each turned
// row by 4 x width - 1 and averages over the rows; that sum over the rows does not depend on
// their order, so the turn only decides whether a turned row is a source row (no quarter turn;
// code 2 mirrored) or a source column.
class TPivotSums {
public:
    explicit TPivotSums(const TPlan& plan)
        : crop_(plan.crop)
        , quarter_(plan.code == 1 || plan.code == 3)
    {
        if (quarter_) { // code 1: (x, y) <- source (y, H-1-x); code 3: (x, y) <- source (W-1-y, x)
            firstRow_ = plan.code == 1 ? plan.height - crop_.Right : crop_.Left;
            rowCount_ = crop_.Width();
            firstColumn_ = plan.code == 1 ? crop_.Top : plan.width - crop_.Bottom;
            columns_ = crop_.Height();
        } else { // code 2: (x, y) <- source (W-1-x, H-1-y)
            firstRow_ = plan.code == 0 ? crop_.Top : plan.height - crop_.Bottom;
            rowCount_ = crop_.Height();
            firstColumn_ = plan.code == 0 ? crop_.Left : plan.width - crop_.Right;
            columns_ = crop_.Width();
        }
        sums_.assign(std::size_t(quarter_ ? columns_ : rowCount_), 0);
    }

    // The source rows the turned crop covers, ascending.
    std::vector<int> SourceRows() const
    {
        std::vector<int> rows(static_cast<std::size_t>(rowCount_));
        std::iota(rows.begin(), rows.end(), firstRow_);
        return rows;
    }

    // Adds source rows `band` (a run of SourceRows()) to the sums.
    void AddBand(const std::vector<const std::uint32_t*>& rows, std::span<const int> band)
    {
        ParallelRows(int(band.size()), columns_, [&](int first, int end) {
            std::vector<std::uint64_t> columnSums(quarter_ ? std::size_t(columns_) : 0, 0);
            for (int i = first; i < end; ++i) {
                const int r = band[std::size_t(i)];
                const std::uint32_t* pixels = rows[std::size_t(r)] + firstColumn_;
                if (quarter_) {
                    for (int c = 0; c < columns_; ++c)
                        columnSums[std::size_t(c)] += std::uint64_t(SumRgb(pixels[c]));
                    continue;
                }
                std::uint64_t sum = 0;
                for (int c = 0; c < columns_; ++c)
                    sum += std::uint64_t(SumRgb(pixels[c]));
                sums_[std::size_t(r - firstRow_)] = sum;
            }
            if (!quarter_)
                return;
            const std::lock_guard<std::mutex> lock(merge_);
            for (int c = 0; c < columns_; ++c)
                sums_[std::size_t(c)] += columnSums[std::size_t(c)];
        });
    }

    int Pivot() const
    {
        const std::uint64_t divisor = 4 * std::uint64_t(crop_.Width()) - 1;
        std::int64_t shares = 0;
        for (const std::uint64_t sum : sums_)
            shares += std::int64_t(sum / divisor);
        return int(shares / std::max(crop_.Height() - 1, 1));
    }

private:
    TRect crop_;
    bool quarter_;
    int firstRow_ = 0;
    int rowCount_ = 0;
    int firstColumn_ = 0;
    int columns_ = 0;
    std::vector<std::uint64_t> sums_; // per source row (no quarter turn) or source column
    std::mutex merge_;
};

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

// Fills the placed pixels that read the current band. Without a quarter turn these are whole
// sheet rows (lines are rows of place); with one, the columns `lines` of every placed row.
void GatherBand(const std::vector<const std::uint32_t*>& rows, const PixelRows<std::uint32_t>& sheet,
    const TRect& place, const TSampling& sampling, const std::vector<int>& lines)
{
    const int placeWidth = place.Width();
    if (!sampling.quarter) {
        ParallelRows(int(lines.size()), placeWidth, [&](int first, int end) {
            for (int i = first; i < end; ++i) {
                const int line = lines[std::size_t(i)];
                const std::uint32_t* in = rows[std::size_t(sampling.rowIndex[std::size_t(line)])];
                std::uint32_t* out = sheet[place.Top + line] + place.Left;
                for (int x = 0; x < placeWidth; ++x)
                    out[x] = in[sampling.columnIndex[std::size_t(x)]];
            }
        });
        return;
    }
    // A sheet row reads a source column here: rows are taken in blocks so that the reads walk
    // along each source row and stay in cache.
    ParallelRows(place.Height(), std::int64_t(lines.size()), [&](int first, int end) {
        for (int blockStart = first; blockStart < end; blockStart += kTurnBlock) {
            const int blockEnd = std::min(blockStart + kTurnBlock, end);
            for (const int x : lines) {
                const std::uint32_t* in = rows[std::size_t(sampling.rowIndex[std::size_t(x)])];
                for (int y = blockStart; y < blockEnd; ++y)
                    sheet[place.Top + y][place.Left + x] = in[sampling.columnIndex[std::size_t(y)]];
            }
        }
    });
}

bool OnSheet(const TRect& formatRect)
{
    return formatRect.Left >= 0 && formatRect.Width() > 0 && formatRect.Height() > 0;
}

// What a source without pixels gives: a white sheet, or an empty picture without a format.
QImage Unreadable(const TRect& formatRect)
{
    if (!OnSheet(formatRect))
        return {};
    QImage sheet = NewPicture(formatRect.Width(), formatRect.Height());
    if (!sheet.isNull())
        sheet.fill(kWhite);
    return sheet;
}

// The print from a source read band by band: the rows the placement needs (and, for the
// contrast pivot, every row under the crop) are read once, in order; colours run on the
// placed pixels once they are all in. A source that fails to read gives what an unreadable
// working copy gives.
QImage Render(TRowSource& source, const Corrections& record, const TRect& formatRect)
{
    const bool onSheet = OnSheet(formatRect);
    const TPlan plan = PlanGeometry(source.Width(), source.Height(), record);
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

    const PixelRows<std::uint32_t> out = WritableRows(sheet);
    const TSampling sampling = PlanSampling(plan, place);
    std::optional<TPivotSums> pivotSums;
    std::vector<int> wanted;
    if (plan.colour && record.contr != 0) {
        pivotSums.emplace(plan);
        wanted = pivotSums->SourceRows(); // every placed row lies under the crop
    } else {
        wanted = sampling.rowIndex;
        std::sort(wanted.begin(), wanted.end());
        wanted.erase(std::unique(wanted.begin(), wanted.end()), wanted.end());
    }
    std::vector<int> lines;
    const bool read = StreamRows(source, wanted, [&](const auto& rows, std::span<const int> band) {
        if (pivotSums)
            pivotSums->AddBand(rows, band);
        lines.clear();
        for (std::size_t i = 0; i < sampling.rowIndex.size(); ++i)
            if (sampling.rowIndex[i] >= band.front() && sampling.rowIndex[i] <= band.back())
                lines.push_back(int(i));
        GatherBand(rows, out, place, sampling, lines);
    });
    if (!read) {
        sheet = QImage();
        return Unreadable(formatRect);
    }

    std::unique_ptr<TColourPass> pass;
    if (plan.colour)
        pass = std::make_unique<TColourPass>(
            record, pivotSums ? pivotSums->Pivot() : 0, std::int64_t(place.Width()) * place.Height());
    ParallelRows(out.height, out.width, [&](int firstRow, int endRow) {
        for (int y = firstRow; y < endRow; ++y) {
            if (y < place.Top || y >= place.Bottom) {
                std::fill_n(out[y], out.width, kWhite);
                continue;
            }
            std::fill_n(out[y], place.Left, kWhite);
            std::fill(out[y] + place.Right, out[y] + out.width, kWhite);
            if (pass)
                pass->ApplyRow(out[y] + place.Left, place.Width());
        }
    });
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
    if (source.isNull())
        return Unreadable(formatRect);
    source = As32BitPicture(source);
    TPictureRows rows(source);
    return Render(rows, record, formatRect);
}

QImage RenderWorkingCopy(
    const QString& path, const Corrections& record, const TRect& formatRect, std::int64_t bandBytes)
{
    if (!SheetAllowed(formatRect))
        return {};
    TWorkingCopyRows file;
    if (!file.Open(path) || file.BitsPerPixel() != 32)
        return Unreadable(formatRect);
    TFileRows rows(file, bandBytes);
    return Render(rows, record, formatRect);
}
