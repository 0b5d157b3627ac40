#include "imaging/jpegsave.h"

#include "platform/files.h"

#include <QFile>

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include <jpeglib.h>

namespace {

struct TJumpingErrors {
    jpeg_error_mgr base;
    std::jmp_buf jump;
};

[[noreturn]] void JumpBack(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<TJumpingErrors*>(info->err)->jump, 1);
}

void Silent(j_common_ptr) { }

struct TEncodeRequest {
    const uchar* rows;
    qsizetype bytesPerLine;
    int width;
    int height;
    int components;
    J_COLOR_SPACE colourSpace;
    int quality;
};

// libjpeg reports errors by longjmp; this frame therefore holds no object with a destructor.
// On success *output is a malloc'ed stream the caller frees.
bool EncodeToMemory(const TEncodeRequest& request, unsigned char** output, unsigned long* outputSize)
{
    jpeg_compress_struct encoder {};
    TJumpingErrors errors;
    encoder.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = JumpBack;
    errors.base.output_message = Silent;
    *output = nullptr;
    *outputSize = 0;
    if (setjmp(errors.jump)) {
        jpeg_destroy_compress(&encoder);
        std::free(*output);
        *output = nullptr;
        return false;
    }
    jpeg_create_compress(&encoder);
    jpeg_mem_dest(&encoder, output, outputSize);
    encoder.image_width = JDIMENSION(request.width);
    encoder.image_height = JDIMENSION(request.height);
    encoder.input_components = request.components;
    encoder.in_color_space = request.colourSpace;
    jpeg_set_defaults(&encoder); // YCbCr, 4:2:0, JFIF header
    jpeg_set_quality(&encoder, request.quality, TRUE);
    jpeg_start_compress(&encoder, TRUE);
    while (encoder.next_scanline < encoder.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(request.rows + qsizetype(encoder.next_scanline) * request.bytesPerLine);
        jpeg_write_scanlines(&encoder, &row, 1);
    }
    jpeg_finish_compress(&encoder);
    jpeg_destroy_compress(&encoder);
    return true;
}

// The picture in a form libjpeg reads without conversion.
QImage EncodableForm(const QImage& bitmap, int& components, J_COLOR_SPACE& colourSpace)
{
    switch (bitmap.format()) {
    case QImage::Format_BGR888:
        components = 3;
        colourSpace = JCS_EXT_BGR;
        return bitmap;
    case QImage::Format_RGB888:
        components = 3;
        colourSpace = JCS_RGB;
        return bitmap;
    case QImage::Format_ARGB32:
    case QImage::Format_RGB32:
        components = 4;
        colourSpace = JCS_EXT_BGRX;
        return bitmap;
    default:
        components = 3;
        colourSpace = JCS_RGB;
        return bitmap.convertToFormat(QImage::Format_RGB888);
    }
}

} // namespace

bool SaveJpeg(const QImage& bitmap, const QString& path, int quality)
{
    if (bitmap.isNull())
        return false;
    int components = 0;
    J_COLOR_SPACE colourSpace = JCS_UNKNOWN;
    const QImage source = EncodableForm(bitmap, components, colourSpace);
    const TEncodeRequest request { source.constBits(), source.bytesPerLine(), source.width(), source.height(),
        components, colourSpace, quality };
    unsigned char* stream = nullptr;
    unsigned long streamSize = 0;
    if (!EncodeToMemory(request, &stream, &streamSize))
        return false;
    const std::unique_ptr<unsigned char, decltype(&std::free)> owned(stream, &std::free);

    if (!DeleteFileForced(path))
        return false;
    QFile file(path);
    if (!OpenForWrite(file))
        return false;
    const bool written
        = file.write(reinterpret_cast<const char*>(stream), qint64(streamSize)) == qint64(streamSize) && file.flush();
    file.close();
    if (!written || file.error() != QFileDevice::NoError) {
        file.remove();
        return false;
    }
    return true;
}
