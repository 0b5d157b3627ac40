#include "project/uvdimage.h"

#include "core/core.h"
#include "core/log.h"
#include "core/textutils.h"
#include "core/typedlists.h"
#include "imaging/geometry.h"
#include "imaging/picture.h"
#include "imaging/workingcopy.h"
#include "lab/formats.h"
#include "lab/vdengine.h"
#include "platform/appdir.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/timeutils.h"
#include "project/outputrender.h"
#include "project/photoprep.h"
#include "project/projectfile.h"
#include "project/projectfolder.h"

#include <QElapsedTimer>
#include <QFileInfo>

#include <algorithm>

#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr std::uint32_t kWhite = 0xFFFFFFFF;
constexpr CropFractions kWholePicture { 0.0f, 0.0f, 1.0f, 1.0f, 1.0f, 1.0f };
// Attempts at a unique working-copy name before giving up.
constexpr int kNameAttempts = 8;

// Claims path by creating it empty, owner-only; false when it exists or cannot be made.
bool CreateEmptyFile(const QString& path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0)
        return false;
    ::close(fd);
    return true;
}

// A unique name in the project folder, claimed on disk so that later reservations (made
// before this photo's copies are written) do not take it too. next is the number the search
// for this name starts from (see UniqueFileName).
QString ClaimUniqueName(const QString& path, long long& next)
{
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        const QString candidate = UniqueFileName(path, next);
        if (CreateEmptyFile(candidate))
            return candidate;
    }
    return {};
}

} // namespace

TRect TVDImage::OutputFormatRect(int formatId) const
{
    TRect rect;
    settings_.formats->GetRect(formatId, settings_.engine->outputdpi, rect);
    return rect;
}

TVDImage::~TVDImage()
{
    Clear();
}

void TVDImage::CheckIndex(int index) const
{
    if (index < 0 || index >= Count())
        throw EListError("TVDImage index out of bounds");
}

const TPhoto& TVDImage::Photo(int index) const
{
    CheckIndex(index);
    return photos_[std::size_t(index)];
}

TPhoto& TVDImage::Photo(int index)
{
    CheckIndex(index);
    Changed();
    return photos_[std::size_t(index)];
}

QStringList TVDImage::SourcePaths() const
{
    QStringList paths;
    for (const TPhoto& photo : photos_)
        paths << photo.sourcePath;
    return paths;
}

int TVDImage::SelectedCount() const
{
    return int(std::count_if(photos_.begin(), photos_.end(), [](const TPhoto& photo) { return photo.selected; }));
}

void TVDImage::SetAllSelected(bool selected)
{
    for (TPhoto& photo : photos_)
        photo.selected = selected;
    Changed();
}

int TVDImage::TotalQuantity() const
{
    std::uint32_t total = 0; // wraps in 32 bits like any sum of int
    for (const TPhoto& photo : photos_)
        total += std::uint32_t(photo.quantity);
    return int(total);
}

bool TVDImage::ReservePhoto(const QString& path, TPhotoSlot& slot)
{
    if (projectFolder.isEmpty()) {
        projectFolder = CreateProjectFolder();
        if (projectFolder.isEmpty()) {
            Log(QStringLiteral("AddPhoto: can't create project folder in ") + AppPath(QString(), FileUse::Cache), 3);
            return false;
        }
    }
    const QString file = ReplaceExt(QFileInfo(path).fileName(), QStringLiteral(".sbm"));
    slot.sourcePath = path;
    const QString working = projectFolder + u'/' + file;
    const QString preview = projectFolder + QStringLiteral("/prev_") + file;
    slot.workingPath = ClaimUniqueName(working, nextNumbers_[working]);
    slot.previewPath = ClaimUniqueName(preview, nextNumbers_[preview]);
    if (slot.workingPath.isEmpty() || slot.previewPath.isEmpty()) {
        Log(QStringLiteral("AddPhoto: can't create working copies of ") + path, 3);
        ReleasePhoto(slot);
        slot = {};
        return false;
    }
    return true;
}

void TVDImage::ReleasePhoto(const TPhotoSlot& slot)
{
    if (!slot.workingPath.isEmpty())
        DeleteFileForced(slot.workingPath);
    if (!slot.previewPath.isEmpty())
        DeleteFileForced(slot.previewPath);
}

void TVDImage::AppendPhoto(TPreparedPhoto&& photo, const TSavedPhoto* saved)
{
    TPhoto added;
    added.sourcePath = photo.slot.sourcePath;
    added.name = photo.slot.sourcePath;
    added.workingPath = photo.slot.workingPath;
    added.previewPath = photo.slot.previewPath;
    added.info = photo.info;
    InitCorrections(added.corrections);
    added.formatId = defaultFormat;
    photos_.push_back(std::move(added));

    const int index = Count() - 1;
    if (saved) {
        TPhoto& restored = photos_.back();
        restored.name = saved->name;
        restored.quantity = saved->quantity;
        restored.selected = saved->selected;
        restored.formatId = saved->formatId;
        SetCorrections(index, saved->corrections);
    } else {
        SetFormat(index, defaultFormat);
    }
    MakeThumbnail(index, photo.preview);
    Changed();
}

bool TVDImage::AddPhoto(const QString& path)
{
    TPhotoSlot slot;
    if (!ReservePhoto(path, slot))
        return false;
    TPreparedPhoto photo = PreparePhoto(slot, settings_.config->previewSize);
    if (!photo.ok) {
        LogFailedPhoto(photo);
        return false;
    }
    AppendPhoto(std::move(photo));
    return true;
}

void TVDImage::Delete(int index)
{
    CheckIndex(index);
    DeleteFileForced(photos_[std::size_t(index)].workingPath);
    DeleteFileForced(photos_[std::size_t(index)].previewPath);
    photos_.erase(photos_.begin() + index);

    // Nothing focused: the first remaining photo.
    if (focus > index || focus == -1)
        focus = std::max(focus - 1, 0);
    focus = std::min(focus, Count() - 1);
    Changed();
}

void TVDImage::Clear()
{
    if (!projectFolder.isEmpty()) {
        for (const TPhoto& photo : photos_) {
            DeleteFileForced(photo.workingPath);
            DeleteFileForced(photo.previewPath);
        }
        ReleaseProjectFolder(projectFolder);
        RemoveEmptyDir(projectFolder);
    }
    photos_.clear();
    nextNumbers_.clear();
    projectFolder.clear();
    focus = -1;
    Changed();
}

Corrections TVDImage::GetCorrections(int index) const
{
    return Photo(index).corrections;
}

void TVDImage::SetCorrections(int index, const Corrections& record)
{
    Photo(index).corrections = record;
    UpdateLowQuality(index);
}

void TVDImage::SetFormat(int index, int formatId)
{
    Photo(index).formatId = formatId;
    Corrections record = GetCorrections(index);
    if (settings_.engine->forceformat) {
        int width = 0, height = 0;
        GetImageSize(index, width, height);
        record.rotation = 0;
        if (width < height) {
            std::swap(width, height);
            record.rotation = 1; // a quarter turn: the photo lies landscape like every format
        }
        record.crop = AutoCropFractions(OutputFormatRect(formatId), { 0, 0, width, height });
    } else {
        record.rotation = 0;
        record.crop.left = kNoCrop;
    }
    SetCorrections(index, record);
}

void TVDImage::GetImageSize(int index, int& width, int& height) const
{
    const ImageInfo& info = Photo(index).info;
    width = info.width;
    height = info.height;
}

ImageInfo TVDImage::GetThumbInfo(int index, QImage* picture) const
{
    const TPhoto& photo = Photo(index);
    if (picture)
        *picture = photo.thumbnail;
    return photo.info;
}

void TVDImage::LoadPreview(int index, QImage& picture) const
{
    if (!LoadWorkingBitmap(picture, Photo(index).previewPath))
        picture = QImage();
}

void TVDImage::LoadFull(int index, QImage& picture) const
{
    if (!LoadWorkingBitmap(picture, Photo(index).workingPath))
        picture = QImage();
}

void TVDImage::MakeThumbnail(int index, QImage& picture)
{
    TPhoto& photo = Photo(index);
    const TConfig& config = *settings_.config;
    ApplyCorrections(picture, photo.corrections, true);
    FitIntoFrame(
        OutputFormatRect(photo.formatId), picture, kWhite, { 0, 0, config.thumbbitmapwidth, config.thumbbitmapheight });
    ResampleToFit(picture, config.thumbbitmapwidth, config.thumbbitmapheight);
    photo.thumbnail = std::move(picture);
    picture = QImage();
    photo.thumbPending = false;
}

void TVDImage::RefreshThumbnail(int index)
{
    QImage preview;
    LoadPreview(index, preview);
    MakeThumbnail(index, preview);
}

void TVDImage::RefreshPendingThumbnails()
{
    for (int i = 0; i < Count(); ++i)
        if (photos_[std::size_t(i)].thumbPending)
            RefreshThumbnail(i);
}

void TVDImage::UpdateLowQuality(int index)
{
    TPhoto& photo = Photo(index);
    photo.lowQuality = false;
    const Corrections& record = photo.corrections;
    const int format = photo.formatId;
    if (format == -1)
        return; // without a format a photo is never marked
    int width = 0, height = 0;
    GetImageSize(index, width, height);
    // Without a crop the whole (turned) picture is placed on the sheet.
    const CropFractions crop = record.crop.left < 0 ? kWholePicture : record.crop;
    photo.lowQuality = CropEnlargement(OutputFormatRect(format), width, height, record.rotation, crop) > 1.0f;
}

void TVDImage::RenderOutput(int index, QImage& picture) const
{
    const TPhoto& photo = Photo(index);
    QElapsedTimer timer;
    timer.start();
    picture = QImage(); // the caller's previous picture is not kept beside the new sheet
    picture = RenderWorkingCopy(photo.workingPath, photo.corrections, OutputFormatRect(photo.formatId));
    Log(QStringLiteral("RenderOutPut: %1: %2 in %3")
            .arg(index)
            .arg(QFileInfo(photo.sourcePath).fileName(), FormatElapsedMs(timer.elapsed())));
}

QString TVDImage::OutputSheetProblem(int index) const
{
    const TPhoto& photo = Photo(index);
    const TRect sheet = OutputFormatRect(photo.formatId);
    if (SheetAllowed(sheet))
        return {};
    Log(QStringLiteral("RenderOutPut: %1: sheet %2 x %3 exceeds the picture limits")
            .arg(index)
            .arg(sheet.Width())
            .arg(sheet.Height()),
        3);
    return QStringLiteral("Format \"%1\" jest za duży: arkusz %2 x %3 pikseli przekracza możliwości programu "
                          "(najwyżej %4 pikseli na bok i %5 mln pikseli).\rWybierz mniejszy format dla zdjęcia \"%6\".")
        .arg(settings_.formats->GetName(photo.formatId), QString::number(sheet.Width()),
            QString::number(sheet.Height()), QString::number(kMaxPictureSide),
            QString::number(kMaxPicturePixels / 1000000), QFileInfo(photo.name).fileName());
}

int TVDImage::PhotosValue() const
{
    std::int64_t value = 0;
    for (const TPhoto& photo : photos_)
        value += std::int64_t(settings_.formats->GetPrice(photo.formatId)) * photo.quantity;
    return int(value);
}

int TVDImage::OrderPrice(bool withDelivery, bool payCash)
{
    openingChargeApplied = false;
    int price = PhotosValue();
    if (price == 0)
        return 0; // an empty or unpriced order gets neither the minimum nor the delivery
    const TEngine& engine = *settings_.engine;
    if (engine.min_price >= 0 && price < engine.min_price && engine.open_price >= 0) {
        price += engine.open_price;
        openingChargeApplied = true;
    }
    if (withDelivery) {
        const int delivery = payCash ? engine.delivery_price : engine.delivery_pricepre;
        if (delivery >= 0)
            price += delivery;
    }
    return price;
}
