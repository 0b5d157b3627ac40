#pragma once
// Working copies: the program's uncompressed 32-bit picture files (".sbm"). Little-endian:
// magic 0x00A0A0A1, width, height, bits per pixel (32), then height rows from the top, each
// width x 4 bytes B, G, R, A, no padding. Read and written with large sequential I/O.
#include <QImage>
#include <QString>

#include <cstdint>
#include <span>

inline constexpr std::uint32_t kWorkingCopyMagic = 0x00A0A0A1;
inline constexpr std::int64_t kWorkingCopyHeaderBytes = 16;

// The size of the file holding a width x height working copy.
constexpr std::int64_t WorkingCopyFileBytes(std::int64_t width, std::int64_t height)
{
    return kWorkingCopyHeaderBytes + width * height * 4;
}

// Creates or truncates the file (mode 0600) and writes the picture (converted to
// Format_ARGB32 first if needed). True when everything was written.
bool SaveWorkingBitmap(const QImage& bitmap32, const QString& path);

// A working copy written a few rows at a time, in any order, as the rows become ready: Create
// writes the header, WriteRows puts rows at their place with pwrite. A file that is not closed
// successfully is incomplete; the caller deletes it.
class TWorkingCopyWriter {
public:
    TWorkingCopyWriter() = default;
    ~TWorkingCopyWriter();
    TWorkingCopyWriter(const TWorkingCopyWriter&) = delete;
    TWorkingCopyWriter& operator=(const TWorkingCopyWriter&) = delete;

    // Creates or truncates the file (mode 0600) and writes the header of a width x height copy.
    bool Create(const QString& path, int width, int height);
    // Writes rows [first, first + count) from pixels (Width() pixels a row, no padding); false on
    // a write error or rows outside the picture.
    bool WriteRows(int first, int count, const std::uint32_t* pixels);
    // Closes the file, reporting a failure of the final write-back.
    bool Close();
    int Width() const { return width_; }

private:
    int fd_ = -1;
    int width_ = 0;
    int height_ = 0;
};

// Reads a working copy into bitmap32 (Format_ARGB32; its memory is reused when it already has
// the size). A missing, short or foreign file gives false; so does a header whose width x
// height x 4 does not match the file's size or exceeds the picture limits (imaging/picture.h),
// and then nothing is allocated. A file with another bit depth leaves bitmap32 resized but
// unfilled and gives false.
bool LoadWorkingBitmap(QImage& bitmap32, const QString& path);

// A working copy read a few rows at a time, for work that walks its rows and never needs the
// whole picture in memory. Open checks the header as LoadWorkingBitmap does (magic, size
// against the file and the picture limits); only 32-bit files give rows. Reads use pread, so
// one open reader may serve several threads.
class TWorkingCopyRows {
public:
    TWorkingCopyRows() = default;
    ~TWorkingCopyRows();
    TWorkingCopyRows(const TWorkingCopyRows&) = delete;
    TWorkingCopyRows& operator=(const TWorkingCopyRows&) = delete;

    bool Open(const QString& path);
    int Width() const { return width_; }
    int Height() const { return height_; }
    int BitsPerPixel() const { return bitsPerPixel_; }
    // Reads rows [first, first + count) into pixels (Width() pixels a row, no padding, at least
    // count rows of room); false for another bit depth, rows outside the picture, a read error
    // or a file shortened since Open.
    bool Read(int first, int count, std::span<std::uint32_t> pixels) const;

private:
    int fd_ = -1;
    int width_ = 0;
    int height_ = 0;
    int bitsPerPixel_ = 0;
};
