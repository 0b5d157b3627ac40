#include "imaging/decode.h"

#include "imaging/generaldecoder.h"
#include "imaging/picture.h"
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
    const int result = JfxReadImage(name.constData(), decoded.bits(), &properties);
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
        if ((extension == u"JPG" || extension == u"JPEG") && LoadJpegThroughBridge(path, target) == JFX_OK)
            return true;
        return DecodeWithGeneralDecoder(path, target);
    } catch (const std::exception&) {
        return false; // out of memory while converting: the photo cannot be loaded
    }
}
