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

// Owns a file descriptor.
class TFileDescriptor {
public:
    explicit TFileDescriptor(int fd)
        : fd_(fd)
    {
    }
    ~TFileDescriptor()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    TFileDescriptor(const TFileDescriptor&) = delete;
    TFileDescriptor& operator=(const TFileDescriptor&) = delete;
    int Get() const { return fd_; }
    // Closes now, reporting a failure of the final write-back.
    bool Close()
    {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

private:
    int fd_;
};

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

bool WriteAll(int fd, const uchar* data, std::size_t size)
{
    return TransferAll(::write, fd, data, size);
}

bool ReadAll(int fd, uchar* data, std::size_t size)
{
    return TransferAll(::read, fd, data, size);
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
    TFileDescriptor file(::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600));
    if (file.Get() < 0)
        return false;
    uchar header[kHeaderBytes];
    qToLittleEndian<quint32>(kWorkingCopyMagic, header);
    qToLittleEndian<qint32>(picture.width(), header + 4);
    qToLittleEndian<qint32>(picture.height(), header + 8);
    qToLittleEndian<qint32>(32, header + 12);
    if (!WriteAll(file.Get(), header, sizeof header))
        return false;
    const std::size_t rowBytes = std::size_t(picture.width()) * 4;
    if (picture.bytesPerLine() == qsizetype(rowBytes)) {
        if (!WriteAll(file.Get(), picture.constBits(), rowBytes * std::size_t(picture.height())))
            return false;
    } else {
        for (int y = 0; y < picture.height(); ++y)
            if (!WriteAll(file.Get(), picture.constScanLine(y), rowBytes))
                return false;
    }
    return file.Close();
}

bool LoadWorkingBitmap(QImage& bitmap32, const QString& path)
{
    TFileDescriptor file(::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC));
    struct stat status { };
    if (file.Get() < 0 || ::fstat(file.Get(), &status) != 0)
        return false;
    uchar header[kHeaderBytes];
    if (!ReadAll(file.Get(), header, sizeof header) || qFromLittleEndian<quint32>(header) != kWorkingCopyMagic)
        return false;
    const qint32 width = qFromLittleEndian<qint32>(header + 4);
    const qint32 height = qFromLittleEndian<qint32>(header + 8);
    const qint32 bitsPerPixel = qFromLittleEndian<qint32>(header + 12);
    if (!PictureSizeAllowed(width, height) || WorkingCopyFileBytes(width, height) != status.st_size)
        return false;

    if (!Reusable(bitmap32, width, height)) {
        QImage picture = NewPicture(width, height);
        if (picture.isNull())
            return false;
        bitmap32 = std::move(picture);
    }
    if (bitsPerPixel != 32)
        return false;
    ::posix_fadvise(file.Get(), 0, 0, POSIX_FADV_SEQUENTIAL);
    return ReadAll(file.Get(), bitmap32.bits(), std::size_t(width) * std::size_t(height) * 4);
}
