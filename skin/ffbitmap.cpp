#include "skin/ffbitmap.h"

#include "platform/binrecords.h"

TFFBitmap TFFBitmap::FromImage(const QImage& image)
{
    TFFBitmap bitmap;
    if (!image.isNull())
        bitmap.pixels_ = image.convertToFormat(QImage::Format_BGR888);
    return bitmap;
}

bool TFFBitmap::Load(QIODevice& file)
{
    pixels_ = QImage();
    qint32 magic = 0, byteCount = 0, width = 0, height = 0;
    if (!ReadInt32(file, magic) || quint32(magic) != kMagic || !ReadInt32(file, byteCount))
        return false;
    if (byteCount == 0)
        return true;
    if (!ReadInt32(file, width) || !ReadInt32(file, height))
        return false;
    if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide
        || qint64(byteCount) != qint64(width) * height * 3)
        return false;
    if (!file.isSequential() && file.bytesAvailable() < byteCount)
        return false;

    QImage pixels(width, height, QImage::Format_BGR888);
    if (pixels.isNull())
        return false;
    const qint64 rowBytes = qint64(width) * 3;
    for (int y = 0; y < height; ++y) {
        if (file.read(reinterpret_cast<char*>(pixels.scanLine(y)), rowBytes) != rowBytes)
            return false;
    }
    pixels_ = pixels;
    return true;
}

bool TFFBitmap::Save(QIODevice& file) const
{
    if (!WriteInt32(file, qint32(kMagic)))
        return false;
    if (IsEmpty())
        return WriteInt32(file, 0);
    const qint64 rowBytes = qint64(Width()) * 3;
    if (!WriteInt32(file, qint32(rowBytes * Height())) || !WriteInt32(file, Width()) || !WriteInt32(file, Height()))
        return false;
    for (int y = 0; y < Height(); ++y) {
        if (file.write(reinterpret_cast<const char*>(pixels_.constScanLine(y)), rowBytes) != rowBytes)
            return false;
    }
    return true;
}

QImage TFFBitmap::CopyTo24Bit() const
{
    if (IsEmpty())
        throw EFFBitmap("FFBitmap not assigned !");
    return pixels_.copy();
}
