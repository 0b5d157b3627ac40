#include "imaging/webpdecoder.h"

#include "imaging/generaldecoder.h"
#include "imaging/picture.h"

#include <QFile>

#include <webp/decode.h>

namespace {

constexpr int kVp8xFlagsAt = 20;
constexpr char kIccFlag = 0x20;

// An extended file (VP8X first) that says it carries an ICC profile.
bool DeclaresProfile(const QByteArray& bytes)
{
    return bytes.size() > kVp8xFlagsAt && bytes.mid(12, 4) == "VP8X" && (bytes[kVp8xFlagsAt] & kIccFlag) != 0;
}

} // namespace

bool DecodeWebpDirectly(const QString& path, QImage& target)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = file.readAll();
    file.close();
    const auto* data = reinterpret_cast<const uint8_t*>(bytes.constData());
    const auto size = std::size_t(bytes.size());
    WebPBitstreamFeatures features {};
    if (WebPGetFeatures(data, size, &features) != VP8_STATUS_OK || features.has_alpha || features.has_animation
        || DeclaresProfile(bytes) || !PictureSizeAllowed(features.width, features.height)
        || features.width > kGeneralDecoderMaxSide || features.height > kGeneralDecoderMaxSide)
        return false;
    QImage decoded = NewPicture(features.width, features.height, QImage::Format_BGR888);
    if (decoded.isNull()
        || !WebPDecodeBGRInto(
            data, size, decoded.bits(), std::size_t(decoded.sizeInBytes()), int(decoded.bytesPerLine())))
        return false;
    target = std::move(decoded);
    return true;
}
