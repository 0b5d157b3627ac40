#include "imaging/generaldecoder.h"

#include "imaging/picture.h"

#include <QFile>
#include <QFileInfo>

#include <Magick++.h>

#include <mutex>

namespace {

struct ExtensionCoder {
    const char* extension;
    const char* coder; // "" when no coder on this system reads the format
};

// Windows naming habits decide some rows: .rle and .dib are bitmap files, .vst/.icb/.vda/.win
// are Targa, .pcc/.scr are PCX, .rgb/.rgba/.bw are SGI, .rpf is RLA, .pdd is Photoshop.
// clang-format off
constexpr ExtensionCoder kCoders[] = {
    {"bmp", "BMP"},  {"dib", "BMP"},  {"rle", "BMP"},  {"ico", "ICO"},  {"wmf", "WMF"},  {"emf", ""},
    {"jpg", "JPEG"}, {"jpeg", "JPEG"}, {"jpe", "JPEG"}, {"jfif", "JPEG"}, {"tif", "TIFF"}, {"tiff", "TIFF"},
    {"fax", "FAX"},  {"eps", "EPS"},  {"tga", "TGA"},  {"vst", "TGA"},  {"icb", "TGA"},  {"vda", "TGA"},
    {"win", "TGA"},  {"pcx", "PCX"},  {"pcc", "PCX"},  {"scr", "PCX"},  {"rla", "RLA"},  {"rpf", "RLA"},
    {"sgi", "SGI"},  {"rgb", "SGI"},  {"rgba", "SGI"}, {"bw", "SGI"},   {"psd", "PSD"},  {"pdd", "PSD"},
    {"ppm", "PNM"},  {"pgm", "PNM"},  {"pbm", "PNM"},  {"cel", ""},     {"pic", ""},     {"pcd", "PCD"},
    {"cut", "CUT"},  {"psp", ""},     {"png", "PNG"},
};
// clang-format on

// ImageMagick's own limits, as ceilings under the system policy (which wins where it is lower;
// Debian's allows 256 MiB of memory, 512 MiB mapped, 1 GiB on disk and 16K pixels a side). A
// picture that needs more fails to decode instead of exhausting the machine.
void InitialiseMagick()
{
    static std::once_flag once;
    std::call_once(once, [] {
        Magick::InitializeMagick(nullptr);
        Magick::ResourceLimits::width(MagickCore::MagickSizeType(kMaxPictureSide));
        Magick::ResourceLimits::height(MagickCore::MagickSizeType(kMaxPictureSide));
        Magick::ResourceLimits::memory(MagickCore::MagickSizeType(1) << 30);
        Magick::ResourceLimits::map(MagickCore::MagickSizeType(2) << 30);
        Magick::ResourceLimits::disk(MagickCore::MagickSizeType(4) << 30);
    });
}

// Reads the first image only; warnings (a truncated file, say) are not failures. The file name
// is given too: some coders look for companion files (a Dr. Halo palette beside its picture).
Magick::Image ReadFirstImage(
    const Magick::Blob& blob, const std::string& coder, const std::string& fileName, bool pingOnly)
{
    Magick::Image image;
    image.quiet(true);
    image.fileName(fileName);
    image.magick(coder);
    image.subImage(0);
    image.subRange(1);
    if (pingOnly)
        image.ping(blob);
    else
        image.read(blob);
    return image;
}

// sRGB without alpha: transparent areas are laid on white paper.
void MakeOpaqueRgb(Magick::Image& image)
{
    if (image.colorSpace() != MagickCore::sRGBColorspace)
        image.colorSpace(MagickCore::sRGBColorspace);
    if (image.matte()) {
        Magick::Image paper(Magick::Geometry(image.columns(), image.rows()), Magick::Color("white"));
        paper.composite(image, 0, 0, MagickCore::OverCompositeOp);
        image = paper;
    }
}

} // namespace

const QStringList& AcceptedPhotoExtensions()
{
    static const QStringList extensions = [] {
        QStringList list;
        for (const ExtensionCoder& row : kCoders)
            list << QString::fromLatin1(row.extension);
        return list;
    }();
    return extensions;
}

QString CoderForExtension(const QString& extension)
{
    const QString lower = extension.toLower();
    for (const ExtensionCoder& row : kCoders)
        if (lower == QLatin1String(row.extension))
            return QString::fromLatin1(row.coder);
    return {};
}

bool DecodeWithGeneralDecoder(const QString& path, QImage& target, QByteArray* iccProfile)
{
    const std::string coder = CoderForExtension(QFileInfo(path).suffix()).toStdString();
    QFile file(path);
    if (coder.empty() || !file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = file.readAll();
    file.close();
    InitialiseMagick();
    try {
        const Magick::Blob blob(bytes.constData(), std::size_t(bytes.size()));
        const std::string fileName = QFile::encodeName(path).toStdString();
        const Magick::Image header = ReadFirstImage(blob, coder, fileName, true);
        if (!PictureSizeAllowed(std::int64_t(header.columns()), std::int64_t(header.rows())))
            return false;
        Magick::Image image = ReadFirstImage(blob, coder, fileName, false);
        const Magick::Blob profile = image.iccColorProfile(); // before laying it on paper drops it
        MakeOpaqueRgb(image);
        const int width = int(image.columns()), height = int(image.rows());
        QImage decoded = NewPicture(width, height, QImage::Format_BGR888);
        if (decoded.isNull())
            return false;
        for (int y = 0; y < height; ++y)
            image.write(0, y, std::size_t(width), 1, "BGR", MagickCore::CharPixel, decoded.scanLine(y));
        target = std::move(decoded);
        if (iccProfile)
            *iccProfile = QByteArray(static_cast<const char*>(profile.data()), qsizetype(profile.length()));
        return true;
    } catch (const std::exception&) {
        return false; // Magick::Exception: the file is not readable as this format
    }
}
