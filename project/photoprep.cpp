#include "project/photoprep.h"

#include "core/log.h"
#include "imaging/decode.h"
#include "imaging/geometry.h"
#include "imaging/picture.h"
#include "imaging/workingcopy.h"
#include "platform/files.h"
#include "project/projectfolder.h"

namespace {

TPreparedPhoto Failed(TPreparedPhoto&& photo, const char* why)
{
    photo.failure = QLatin1String(why);
    DeleteFileForced(photo.slot.workingPath);
    DeleteFileForced(photo.slot.previewPath);
    photo.ok = false;
    photo.preview = QImage();
    return std::move(photo);
}

} // namespace

TPreparedPhoto PreparePhoto(const TPhotoSlot& slot, int previewSize)
{
    TPreparedPhoto photo;
    photo.slot = slot;
    const bool headerRead = ReadImageInfo(slot.sourcePath, photo.info);

    QImage full;
    {
        QImage decoded;
        if (!LoadPhotoBitmap(slot.sourcePath, decoded))
            return Failed(std::move(photo), "can't decode");
        full = As32BitPicture(decoded);
    } // the 24-bit picture goes before the working copy is written
    if (full.isNull() || !UprightByOrientation(full, photo.info.orientation))
        return Failed(std::move(photo), "out of memory");
    if (!headerRead || photo.info.width <= 0 || photo.info.height <= 0) {
        photo.info.width = full.width();
        photo.info.height = full.height();
    }
    const TDiskSpaceClaim space({ slot.workingPath, slot.previewPath }, WorkingCopiesBytes(full.size(), previewSize));
    if (!space.Granted()) {
        photo.spaceNeeded = space.Needed();
        photo.spaceAvailable = space.Available();
        return Failed(std::move(photo), "not enough free disk space");
    }
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
    return photo;
}

void LogFailedPhoto(const TPreparedPhoto& photo)
{
    Log(QStringLiteral("AddPhoto: %1: %2").arg(photo.slot.sourcePath, photo.failure), 3);
}
