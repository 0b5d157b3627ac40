#pragma once
// A JPEG file decoded with libjpeg-turbo straight into the program's 32-bit layout
// (imaging/picture.h: B, G, R and alpha 255 in memory), a band of rows at a time, so that no
// whole 24-bit picture and no conversion pass exist. It accepts exactly the files the JPEG
// bridge (jfxlib.h) decodes to three channels, with the bridge's pixels: the same libjpeg
// settings (its default IDCT and upsampling; grey expanded to three equal bytes), the same
// strictness (a libjpeg warning once decoding has started, such as truncated or corrupt data,
// is a failure; at most 500 progressive scans; at most 1 GiB of codec memory) and the same
// refusals (other than one or three components, or a 24-bit buffer above 2 GiB). What it refuses
// or fails on is for the bridge and the general decoder to try (LoadPhotoBitmap).
#include <QString>

#include <cstddef>
#include <cstdint>
#include <memory>

class TJpegRows {
public:
    TJpegRows();
    ~TJpegRows();
    TJpegRows(const TJpegRows&) = delete;
    TJpegRows& operator=(const TJpegRows&) = delete;

    // Opens the file, reads its header and starts decoding (a progressive file is read whole
    // here). False for a file this decoder does not accept.
    bool Open(const QString& path);
    int Width() const { return width_; }
    int Height() const { return height_; }

    // Decodes the next rows, at most count, into rows (Width() pixels each, stride pixels from
    // one row to the next): the number decoded, 0 after the last row, -1 when decoding failed.
    int Read(std::uint32_t* rows, std::ptrdiff_t stride, int count);
    // After the last row: reads to the end of the image; false when that finds the data
    // corrupt. Only a file whose rows were all read and that finishes cleanly is decoded.
    bool Finish();

private:
    struct State;
    std::unique_ptr<State> state_;
    int width_ = 0;
    int height_ = 0;
};
