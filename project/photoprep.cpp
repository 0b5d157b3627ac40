#include "project/photoprep.h"

#include "core/log.h"
#include "imaging/bandrelay.h"
#include "imaging/colourprofile.h"
#include "imaging/decode.h"
#include "imaging/geometry.h"
#include "imaging/jpegrows.h"
#include "imaging/picture.h"
#include "imaging/uprightbands.h"
#include "imaging/workingcopy.h"
#include "platform/files.h"
#include "project/projectfolder.h"

#include <QFileInfo>

namespace {

// Rows decoded per band and bands in flight: a 6000-pixel photo holds 3 MB of bands.
constexpr int kBandRows = 32;
constexpr int kBands = 4;

TPreparedPhoto Failed(TPreparedPhoto&& photo, const char* why)
{
    photo.failure = QLatin1String(why);
    DeleteFileForced(photo.slot.workingPath);
    DeleteFileForced(photo.slot.previewPath);
    photo.ok = false;
    photo.preview = QImage();
    return std::move(photo);
}

// A file whose format has no header reader (or whose header gives no size) takes the size of
// the decoded, upright picture.
void TakeDecodedSize(TPreparedPhoto& photo, bool headerRead, QSize upright)
{
    if (!headerRead || photo.info.width <= 0 || photo.info.height <= 0) {
        photo.info.width = upright.width();
        photo.info.height = upright.height();
    }
}

// Claims the disk room of both copies; false (with the photo failed) when the disk lacks it.
bool ClaimSpace(TPreparedPhoto& photo, const TDiskSpaceClaim& space)
{
    if (space.Granted())
        return true;
    photo.spaceNeeded = space.Needed();
    photo.spaceAvailable = space.Available();
    photo = Failed(std::move(photo), "not enough free disk space");
    return false;
}

bool IsJpegPath(const QString& path)
{
    const QString extension = QFileInfo(path).suffix().toUpper();
    return extension == u"JPG" || extension == u"JPEG";
}

// The photo decoded whole by LoadPhotoBitmap, turned upright, then written and resampled.
TPreparedPhoto PrepareWholePicture(TPreparedPhoto&& photo, bool headerRead, int previewSize)
{
    const TPhotoSlot& slot = photo.slot;
    QImage full;
    {
        QImage decoded;
        if (!LoadPhotoBitmap(slot.sourcePath, decoded))
            return Failed(std::move(photo), "can't decode");
        full = As32BitPicture(decoded);
    } // the 24-bit picture goes before the working copy is written
    if (full.isNull() || !UprightByOrientation(full, photo.info.orientation))
        return Failed(std::move(photo), "out of memory");
    TakeDecodedSize(photo, headerRead, full.size());
    const TDiskSpaceClaim space({ slot.workingPath, slot.previewPath }, WorkingCopiesBytes(full.size(), previewSize));
    if (!ClaimSpace(photo, space))
        return std::move(photo);
    if (!SaveWorkingBitmap(full, slot.workingPath))
        return Failed(std::move(photo), "can't write working copy");

    TRect fitted = PictureBounds(full);
    FitRect({ 0, 0, previewSize, previewSize }, fitted, false);
    if (!ResampleToSize(full, fitted.Width(), fitted.Height(), &photo.preview))
        return Failed(std::move(photo), "can't make preview");
    full = QImage();
    if (!SaveWorkingBitmap(photo.preview, slot.previewPath))
        return Failed(std::move(photo), "can't write preview copy");
    photo.ok = true;
    return std::move(photo);
}

// A JPEG decoded band by band into the copies while a helper thread converts its colours,
// writes the working copy and samples the preview: false, with nothing decided, when the file
// is not one TJpegRows decodes to the end (the whole-picture path then tries the bridge and the
// general decoder, as LoadPhotoBitmap does).
bool PrepareFromJpegRows(TPreparedPhoto& photo, bool headerRead, int previewSize)
{
    const TPhotoSlot& slot = photo.slot;
    TJpegRows rows;
    if (!rows.Open(slot.sourcePath))
        return false;
    const int width = rows.Width(), height = rows.Height();
    TUprightBands copies(width, height, photo.info.orientation, previewSize);
    const TDiskSpaceClaim space(
        { slot.workingPath, slot.previewPath }, WorkingCopiesBytes(copies.UprightSize(), previewSize));
    if (!ClaimSpace(photo, space))
        return true;
    if (const char* failure = copies.Begin(slot.workingPath)) {
        photo = Failed(std::move(photo), failure);
        return true;
    }
    const std::unique_ptr<TSrgbConversion> colours = JpegSrgbConversion(slot.sourcePath);
    int decoded = 0;
    bool stored = false;
    {
        TBandRelay relay(width, kBandRows, kBands, [&](int first, int count, std::uint32_t* band) {
            colours->ConvertRows(band, width, count, width);
            return copies.Put(first, count, band);
        });
        while (std::uint32_t* band = relay.Next()) {
            const int count = rows.Read(band, width, kBandRows);
            if (count <= 0)
                break;
            relay.Pass(decoded, count);
            decoded += count;
        }
        stored = relay.Finish();
    }
    if (stored && (decoded < height || !rows.Finish()))
        return false;
    const char* failure = stored ? copies.End(photo.preview) : "can't write working copy";
    if (failure == nullptr && !SaveWorkingBitmap(photo.preview, slot.previewPath))
        failure = "can't write preview copy";
    if (failure != nullptr) {
        photo = Failed(std::move(photo), failure);
        return true;
    }
    TakeDecodedSize(photo, headerRead, copies.UprightSize());
    photo.ok = true;
    return true;
}

} // namespace

TPreparedPhoto PreparePhoto(const TPhotoSlot& slot, int previewSize)
{
    TPreparedPhoto photo;
    photo.slot = slot;
    const bool headerRead = ReadImageInfo(slot.sourcePath, photo.info);
    if (IsJpegPath(slot.sourcePath) && PrepareFromJpegRows(photo, headerRead, previewSize))
        return photo;
    return PrepareWholePicture(std::move(photo), headerRead, previewSize);
}

void LogFailedPhoto(const TPreparedPhoto& photo)
{
    Log(QStringLiteral("AddPhoto: %1: %2").arg(photo.slot.sourcePath, photo.failure), 3);
}
