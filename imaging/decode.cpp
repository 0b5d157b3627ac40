#include "imaging/decode.h"

#include "core/log.h"
#include "imaging/colourprofile.h"
#include "imaging/containerinfo.h"
#include "imaging/generaldecoder.h"
#include "imaging/heifdecoder.h"
#include "imaging/jpegprofile.h"
#include "imaging/picture.h"
#include "imaging/webpdecoder.h"
#include "jfxlib.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>

#include <mutex>

namespace {

// Qt refuses images above 256 MB by default; the program's own limit is 1 GiB.
void RaiseReaderLimit()
{
    static std::once_flag once;
    std::call_once(once, [] { QImageReader::setAllocationLimit(int(kMaxPicturePixels * 4 / (1024 * 1024))); });
}

bool LoadBitmapFile(const QString& path, QImage& target, bool force24)
{
    RaiseReaderLimit();
    QImageReader reader(path, "bmp");
    QImage bitmap;
    if (!reader.read(&bitmap) || !PictureSizeAllowed(bitmap.width(), bitmap.height()))
        return false;
    if (force24)
        bitmap = bitmap.convertToFormat(QImage::Format_BGR888);
    if (bitmap.isNull())
        return false;
    target = std::move(bitmap);
    return true;
}

void LogUnusableProfile(const QString& path, const char* why)
{
    Log(QStringLiteral("Colour profile of %1 %2: colours left as stored").arg(path, QLatin1String(why)), 2);
}

// The profile of a JPEG the bridge decoded, read beside it; empty when there is none.
QByteArray JpegProfile(const QString& path)
{
    QFile file(path);
    QByteArray profile;
    if (file.open(QIODevice::ReadOnly) && ReadJpegProfile(file, profile) == JpegProfileChunks::Broken)
        LogUnusableProfile(path, "is incomplete");
    return profile;
}

// The profile of a HEIF or AVIF photo: ImageMagick 6 does not hand it over, so it is read from
// the primary item's colour box.
QByteArray HeifProfile(const QString& path)
{
    QFile file(path);
    QByteArray profile;
    if (file.open(QIODevice::ReadOnly))
        ReadHeifProfile(file, profile);
    return profile;
}

bool IsHeifExtension(const QString& upperExtension)
{
    return upperExtension == u"HEIC" || upperExtension == u"HEIF" || upperExtension == u"AVIF";
}

// Without a profile nothing is done: no lcms2 call at all.
void ApplyEmbeddedProfile(const QString& path, QImage& picture, const QByteArray& profile)
{
    if (!profile.isEmpty() && ConvertProfileToSrgb(picture, profile) == ProfileConversion::Broken)
        LogUnusableProfile(path, "can't be read");
}

} // namespace

namespace {

// The decoders the program drives itself, each declining what it does not read as the general
// decoder would; false when none took the file.
bool DecodeWithOwnDecoder(const QString& path, const QString& extension, QImage& target, QByteArray& profile)
{
    if ((extension == u"JPG" || extension == u"JPEG") && LoadJpegThroughBridge(path, target) == JFX_OK) {
        profile = JpegProfile(path);
        return true;
    }
    if (IsHeifExtension(extension) && DecodeHeifDirectly(path, target)) {
        profile = HeifProfile(path);
        return true;
    }
    return extension == u"WEBP" && DecodeWebpDirectly(path, target); // none with a profile
}

} // namespace

int LoadJpegThroughBridge(const QString& path, QImage& target)
{
    const QByteArray name = QFile::encodeName(path);
    JfxProperties properties {};
    const int header = JfxGetProperties(name.constData(), &properties);
    if (header != JFX_OK)
        return header;
    if (properties.channels != 3)
        return kBridgeNotThreeChannels;
    // A 24-bit QImage has exactly the bridge's row layout: decode straight into it.
    QImage decoded = NewPicture(properties.width, properties.height, QImage::Format_BGR888);
    if (decoded.isNull() || decoded.sizeInBytes() != properties.bufferSize)
        return JFX_ERR_FAULT;
    const int result = JfxReadImageChecked(name.constData(), decoded.bits(), &properties);
    if (result != JFX_OK)
        return result;
    target = std::move(decoded);
    return JFX_OK;
}

bool LoadPhotoBitmap(const QString& path, QImage& target, bool force24)
{
    try {
        const QString extension = QFileInfo(path).suffix().toUpper();
        if (extension == u"BMP")
            return LoadBitmapFile(path, target, force24);
        QByteArray profile;
        if (!DecodeWithOwnDecoder(path, extension, target, profile)) {
            if (!DecodeWithGeneralDecoder(path, target, &profile))
                return false;
            if (profile.isEmpty() && IsHeifExtension(extension))
                profile = HeifProfile(path);
        }
        ApplyEmbeddedProfile(path, target, profile);
        return true;
    } catch (const std::exception&) {
        return false; // out of memory while converting: the photo cannot be loaded
    }
}

std::unique_ptr<TSrgbConversion> JpegSrgbConversion(const QString& path)
{
    auto conversion = std::make_unique<TSrgbConversion>(JpegProfile(path));
    if (conversion->Result() == ProfileConversion::Broken)
        LogUnusableProfile(path, "can't be read");
    return conversion;
}
