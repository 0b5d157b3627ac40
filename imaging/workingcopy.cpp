#include "imaging/workingcopy.h"

#include "imaging/picture.h"

#include <QFile>
#include <QtEndian>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace {

constexpr qint64 kHeaderBytes = kWorkingCopyHeaderBytes;
constexpr std::size_t kChunk = std::size_t(8) << 20; // system calls move 8 MB at a time

// Moves size bytes with read or write in chunks, going on after interruptions and partial
// transfers; false when the system call fails or reaches the end of the file.
template <typename Transfer, typename Byte> bool TransferAll(Transfer transfer, int fd, Byte* data, std::size_t size)
{
    while (size > 0) {
        const ssize_t moved = transfer(fd, data, std::min(size, kChunk));
        if (moved < 0 && errno == EINTR)
            continue;
        if (moved <= 0)
            return false;
        data += moved;
        size -= std::size_t(moved);
    }
    return true;
}

// Writes size bytes at offset; false on an error.
bool WriteAllAt(int fd, const uchar* data, std::size_t size, off_t offset)
{
    const auto writeAt = [&offset](int file, const uchar* from, std::size_t count) {
        const ssize_t moved = ::pwrite(file, from, count, offset);
        if (moved > 0)
            offset += moved;
        return moved;
    };
    return TransferAll(writeAt, fd, data, size);
}

// Reads size bytes from offset on; false on an error or the end of the file.
bool ReadAllAt(int fd, uchar* data, std::size_t size, off_t offset)
{
    const auto readAt = [&offset](int file, uchar* into, std::size_t count) {
        const ssize_t moved = ::pread(file, into, count, offset);
        if (moved > 0)
            offset += moved;
        return moved;
    };
    return TransferAll(readAt, fd, data, size);
}

// The picture's memory if it can take width x height pixels as they lie in the file.
bool Reusable(const QImage& picture, int width, int height)
{
    return picture.format() == QImage::Format_ARGB32 && picture.width() == width && picture.height() == height
        && picture.bytesPerLine() == qsizetype(width) * 4 && picture.isDetached();
}

} // namespace

bool SaveWorkingBitmap(const QImage& bitmap32, const QString& path)
{
    const QImage picture = As32BitPicture(bitmap32);
    TWorkingCopyWriter file;
    if (!file.Create(path, picture.width(), picture.height()))
        return false;
    const PixelRows<const std::uint32_t> rows = ReadableRows(picture);
    if (rows.stride == rows.width) {
        if (!file.WriteRows(0, rows.height, rows.base))
            return false;
    } else {
        for (int y = 0; y < rows.height; ++y)
            if (!file.WriteRows(y, 1, rows[y]))
                return false;
    }
    return file.Close();
}

TWorkingCopyWriter::~TWorkingCopyWriter()
{
    if (fd_ >= 0)
        ::close(fd_);
}

bool TWorkingCopyWriter::Create(const QString& path, int width, int height)
{
    if (fd_ >= 0)
        ::close(fd_);
    width_ = width;
    height_ = height;
    fd_ = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd_ < 0)
        return false;
    uchar header[kHeaderBytes];
    qToLittleEndian<quint32>(kWorkingCopyMagic, header);
    qToLittleEndian<qint32>(width, header + 4);
    qToLittleEndian<qint32>(height, header + 8);
    qToLittleEndian<qint32>(32, header + 12);
    return WriteAllAt(fd_, header, sizeof header, 0);
}

bool TWorkingCopyWriter::WriteRows(int first, int count, const std::uint32_t* pixels)
{
    if (fd_ < 0 || first < 0 || count < 0 || count > height_ - first)
        return false;
    return WriteAllAt(fd_, reinterpret_cast<const uchar*>(pixels), std::size_t(width_) * std::size_t(count) * 4,
        off_t(WorkingCopyFileBytes(width_, first)));
}

bool TWorkingCopyWriter::Close()
{
    const int fd = fd_;
    fd_ = -1;
    return fd >= 0 && ::close(fd) == 0;
}

TWorkingCopyRows::~TWorkingCopyRows()
{
    if (fd_ >= 0)
        ::close(fd_);
}

bool TWorkingCopyRows::Open(const QString& path)
{
    if (fd_ >= 0)
        ::close(fd_);
    width_ = height_ = bitsPerPixel_ = 0;
    fd_ = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    struct stat status { };
    uchar header[kHeaderBytes];
    if (fd_ < 0 || ::fstat(fd_, &status) != 0 || !ReadAllAt(fd_, header, sizeof header, 0)
        || qFromLittleEndian<quint32>(header) != kWorkingCopyMagic)
        return false;
    const qint32 width = qFromLittleEndian<qint32>(header + 4);
    const qint32 height = qFromLittleEndian<qint32>(header + 8);
    if (!PictureSizeAllowed(width, height) || WorkingCopyFileBytes(width, height) != status.st_size)
        return false;
    width_ = width;
    height_ = height;
    bitsPerPixel_ = qFromLittleEndian<qint32>(header + 12);
    ::posix_fadvise(fd_, 0, 0, POSIX_FADV_SEQUENTIAL);
    return true;
}

bool TWorkingCopyRows::Read(int first, int count, std::span<std::uint32_t> pixels) const
{
    const std::size_t rowPixels = std::size_t(width_);
    if (bitsPerPixel_ != 32 || first < 0 || count < 0 || count > height_ - first
        || pixels.size() < rowPixels * std::size_t(count))
        return false;
    return ReadAllAt(fd_, reinterpret_cast<uchar*>(pixels.data()), rowPixels * std::size_t(count) * 4,
        off_t(WorkingCopyFileBytes(width_, first)));
}

bool LoadWorkingBitmap(QImage& bitmap32, const QString& path)
{
    TWorkingCopyRows file;
    if (!file.Open(path))
        return false;
    const int width = file.Width(), height = file.Height();
    if (!Reusable(bitmap32, width, height)) {
        QImage picture = NewPicture(width, height);
        if (picture.isNull())
            return false;
        bitmap32 = std::move(picture);
    }
    return file.Read(
        0, height, { reinterpret_cast<std::uint32_t*>(bitmap32.bits()), std::size_t(width) * std::size_t(height) });
}
