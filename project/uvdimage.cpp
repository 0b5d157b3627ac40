#include "project/uvdimage.h"

#include "core/core.h"
#include "core/coreobjects.h"
#include "core/log.h"
#include "core/textutils.h"
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

const TConfig& Config()
{
    return *Core().config;
}
const TFormats& Formats()
{
    return *Core().formats;
}
const TEngine& Engine()
{
    return *Core().engine;
}

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
// before this photo's copies are written) do not take it too.
QString ClaimUniqueName(const QString& path)
{
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        const QString candidate = UniqueFileName(path);
        if (CreateEmptyFile(candidate))
            return candidate;
    }
    return {};
}

} // namespace

TRect OutputFormatRect(int formatId)
{
    TRect rect;
    Formats().GetRect(formatId, Engine().outputdpi, rect);
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
    slot.workingPath = ClaimUniqueName(projectFolder + u'/' + file);
    slot.previewPath = ClaimUniqueName(projectFolder + QStringLiteral("/prev_") + file);
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

void TVDImage::AppendPhoto(TPreparedPhoto&& photo)
{
    names << photo.slot.sourcePath;
    sourcePaths << photo.slot.sourcePath;
    workingPaths << photo.slot.workingPath;
    previewPaths << photo.slot.previewPath;
    thumbnails << QImage();
    selected.Add(false);
    thumbPending.Add(true);
    lowQuality.Add(false);
    infos << photo.info;
    Corrections record;
    InitCorrections(record);
    corrections << record;
    quantities.Add(1);
    formatIds.Add(defaultFormat);

    const int index = Count() - 1;
    SetFormat(index, defaultFormat);
    MakeThumbnail(index, photo.preview);
}

bool TVDImage::AddPhoto(const QString& path)
{
    TPhotoSlot slot;
    if (!ReservePhoto(path, slot))
        return false;
    TPreparedPhoto photo = PreparePhoto(slot, Config().previewSize);
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
    DeleteFileForced(workingPaths[index]);
    DeleteFileForced(previewPaths[index]);
    for (QStringList* list : { &sourcePaths, &names, &workingPaths, &previewPaths })
        list->removeAt(index);
    for (TboolList* list : { &selected, &thumbPending, &lowQuality })
        list->Delete(index);
    thumbnails.removeAt(index);
    infos.removeAt(index);
    corrections.removeAt(index);
    quantities.Delete(index);
    formatIds.Delete(index);

    // Nothing focused: the first remaining photo.
    if (focus > index || focus == -1)
        focus = std::max(focus - 1, 0);
    focus = std::min(focus, Count() - 1);
}

void TVDImage::Clear()
{
    if (!projectFolder.isEmpty()) {
        for (const QStringList* list : { &workingPaths, &previewPaths })
            for (const QString& path : *list)
                DeleteFileForced(path);
        ReleaseProjectFolder(projectFolder);
        RemoveEmptyDir(projectFolder);
    }
    for (QStringList* list : { &sourcePaths, &names, &workingPaths, &previewPaths })
        list->clear();
    for (TboolList* list : { &selected, &thumbPending, &lowQuality })
        list->Clear();
    thumbnails.clear();
    infos.clear();
    corrections.clear();
    quantities.Clear();
    formatIds.Clear();
    projectFolder.clear();
    focus = -1;
}

Corrections TVDImage::GetCorrections(int index) const
{
    CheckIndex(index);
    return corrections[index];
}

void TVDImage::SetCorrections(int index, const Corrections& record)
{
    CheckIndex(index);
    corrections[index] = record;
    UpdateLowQuality(index);
}

void TVDImage::SetFormat(int index, int formatId)
{
    CheckIndex(index);
    formatIds.Set(index, formatId);
    Corrections record = GetCorrections(index);
    if (Engine().forceformat) {
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
    CheckIndex(index);
    width = infos[index].width;
    height = infos[index].height;
}

ImageInfo TVDImage::GetThumbInfo(int index, QImage* picture) const
{
    CheckIndex(index);
    if (picture)
        *picture = thumbnails[index];
    return infos[index];
}

void TVDImage::LoadPreview(int index, QImage& picture) const
{
    CheckIndex(index);
    if (!LoadWorkingBitmap(picture, previewPaths[index]))
        picture = QImage();
}

void TVDImage::LoadFull(int index, QImage& picture) const
{
    CheckIndex(index);
    if (!LoadWorkingBitmap(picture, workingPaths[index]))
        picture = QImage();
}

void TVDImage::MakeThumbnail(int index, QImage& picture)
{
    CheckIndex(index);
    const TConfig& config = Config();
    ApplyCorrections(picture, corrections[index], true);
    FitIntoFrame(OutputFormatRect(formatIds.Get(index)), picture, kWhite,
        { 0, 0, config.thumbbitmapwidth, config.thumbbitmapheight });
    ResampleToFit(picture, config.thumbbitmapwidth, config.thumbbitmapheight);
    thumbnails[index] = std::move(picture);
    picture = QImage();
    thumbPending.Set(index, false);
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
        if (thumbPending.Get(i))
            RefreshThumbnail(i);
}

void TVDImage::UpdateLowQuality(int index)
{
    CheckIndex(index);
    lowQuality.Set(index, false);
    const Corrections& record = corrections[index];
    const int format = formatIds.Get(index);
    if (format == -1)
        return; // without a format a photo is never marked
    int width = 0, height = 0;
    GetImageSize(index, width, height);
    // Without a crop the whole (turned) picture is placed on the sheet.
    const CropFractions crop = record.crop.left < 0 ? kWholePicture : record.crop;
    lowQuality.Set(index, CropEnlargement(OutputFormatRect(format), width, height, record.rotation, crop) > 1.0f);
}

void TVDImage::RenderOutput(int index, QImage& picture) const
{
    CheckIndex(index);
    QElapsedTimer timer;
    timer.start();
    picture = QImage(); // the caller's previous picture is not kept beside the working copy
    QImage full;
    LoadFull(index, full);
    picture = RenderPrint(std::move(full), corrections[index], OutputFormatRect(formatIds.Get(index)));
    Log(QStringLiteral("RenderOutPut: %1: %2 in %3")
            .arg(index)
            .arg(QFileInfo(sourcePaths[index]).fileName(), FormatElapsedMs(timer.elapsed())));
}

QString TVDImage::OutputSheetProblem(int index) const
{
    CheckIndex(index);
    const TRect sheet = OutputFormatRect(formatIds.Get(index));
    if (SheetAllowed(sheet))
        return {};
    Log(QStringLiteral("RenderOutPut: %1: sheet %2 x %3 exceeds the picture limits")
            .arg(index)
            .arg(sheet.Width())
            .arg(sheet.Height()),
        3);
    return QStringLiteral("Format \"%1\" jest za duży: arkusz %2 x %3 pikseli przekracza możliwości programu "
                          "(najwyżej %4 pikseli na bok i %5 mln pikseli).\rWybierz mniejszy format dla zdjęcia \"%6\".")
        .arg(Formats().GetName(formatIds.Get(index)))
        .arg(sheet.Width())
        .arg(sheet.Height())
        .arg(kMaxPictureSide)
        .arg(kMaxPicturePixels / 1000000)
        .arg(QFileInfo(names[index]).fileName());
}

int TVDImage::PhotosValue() const
{
    std::int64_t value = 0;
    for (int i = 0; i < Count(); ++i)
        value += std::int64_t(Formats().GetPrice(formatIds.Get(i))) * quantities.Get(i);
    return int(value);
}

int TVDImage::OrderPrice(bool withDelivery, bool payCash)
{
    openingChargeApplied = false;
    int price = PhotosValue();
    if (price == 0)
        return 0; // an empty or unpriced order gets neither the minimum nor the delivery
    const TEngine& engine = Engine();
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
