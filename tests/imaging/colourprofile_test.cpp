// Embedded ICC profiles: the JPEG APP2 chunk reader, and decoding that converts a photo from its
// profile to sRGB exactly as lcms2 itself does, leaving sRGB, profile-free and broken ones alone.
#include "imaging/colourprofile.h"
#include "imaging/decode.h"
#include "imaging/generaldecoder.h"
#include "imaging/jpegprofile.h"
#include "imaging/picture.h"
#include "tests/imaging/testpictures.h"
#include "tests/imaging/testprofiles.h"
#include "tests/support/testsupport.h"

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>

#include <Magick++.h>
#include <array>
#include <cstdio>
#include <gtest/gtest.h>
#include <jpeglib.h>
#include <lcms2.h>
#include <libheif/heif.h>

namespace {

constexpr cmsCIExyYTRIPLE kP3Primaries { { 0.680, 0.320, 1 }, { 0.265, 0.690, 1 }, { 0.150, 0.060, 1 } };
constexpr cmsCIExyYTRIPLE kSrgbPrimaries { { 0.64, 0.33, 1 }, { 0.30, 0.60, 1 }, { 0.15, 0.06, 1 } };

// The sRGB curve as a parametric curve of type 4 (what Display P3 uses too).
cmsToneCurve* SrgbCurve()
{
    const double parameters[5] = { 2.4, 1 / 1.055, 0.055 / 1.055, 1 / 12.92, 0.04045 };
    return cmsBuildParametricToneCurve(nullptr, 4, parameters);
}

// The same curve as a table of `entries` 16-bit values.
cmsToneCurve* Tabulated(cmsToneCurve* curve, int entries)
{
    std::vector<cmsUInt16Number> table(static_cast<std::size_t>(entries));
    for (int i = 0; i < entries; ++i)
        table[std::size_t(i)] = cmsEvalToneCurve16(curve, cmsUInt16Number(i * 65535 / (entries - 1)));
    cmsFreeToneCurve(curve);
    return cmsBuildTabulatedToneCurve16(nullptr, cmsUInt32Number(entries), table.data());
}

QByteArray AdobeRgb()
{
    return RgbProfile(kAdobePrimaries, cmsBuildGamma(nullptr, kAdobeGamma));
}

// Larger than one APP2 segment (65519 bytes of data): its writer splits it into chunks. Each
// channel has a curve table of its own (lcms2 does not read back one table that long).
QByteArray LargeAdobeRgb()
{
    const auto table = [](int entries) { return Tabulated(cmsBuildGamma(nullptr, kAdobeGamma), entries); };
    return RgbProfile(kAdobePrimaries, { table(12000), table(12001), table(12002) });
}

QByteArray DisplayP3()
{
    return RgbProfile(kP3Primaries, SrgbCurve());
}

// Adobe RGB primaries with a 2.2 gamma that starts above zero: its black is not sRGB's, so
// black-point compensation adds an offset to the conversion.
QByteArray RaisedBlackRgb()
{
    const double parameters[7] = { 2.2, 0.98, 0, 1, 0, 0.02, 0.02 }; // (0.98 x)^2.2 + 0.02
    return RgbProfile(kAdobePrimaries, cmsBuildParametricToneCurve(nullptr, 5, parameters));
}

// An RGB display profile described by a lookup table to Lab (a tinted grey ramp) instead of a
// matrix and curves.
QByteArray LutRgb()
{
    cmsHPROFILE profile = cmsCreateProfilePlaceholder(nullptr);
    cmsSetProfileVersion(profile, 2.1); // version 4 wants curves around the table
    cmsSetDeviceClass(profile, cmsSigDisplayClass);
    cmsSetColorSpace(profile, cmsSigRgbData);
    cmsSetPCS(profile, cmsSigLabData);
    cmsWriteTag(profile, cmsSigMediaWhitePointTag, cmsD50_XYZ());
    cmsPipeline* lut = cmsPipelineAlloc(nullptr, 3, 3);
    cmsStage* grid = cmsStageAllocCLut16bit(nullptr, 9, 3, 3, nullptr);
    cmsStageSampleCLut16bit(
        grid,
        [](const cmsUInt16Number in[], cmsUInt16Number out[], void*) -> cmsInt32Number {
            out[0] = cmsUInt16Number((in[0] + in[1] + in[2]) / 3);
            out[1] = cmsUInt16Number(0x8000 + (in[0] - in[2]) / 8);
            out[2] = cmsUInt16Number(0x8000 + (in[1] - in[2]) / 8);
            return TRUE;
        },
        nullptr, 0);
    cmsPipelineInsertStage(lut, cmsAT_END, grid);
    cmsWriteTag(profile, cmsSigAToB0Tag, lut);
    cmsPipelineFree(lut);
    return SavedProfile(profile);
}

QByteArray GreyProfile()
{
    cmsToneCurve* gamma = cmsBuildGamma(nullptr, 2.2);
    const QByteArray bytes = SavedProfile(cmsCreateGrayProfile(cmsD50_xyY(), gamma));
    cmsFreeToneCurve(gamma);
    return bytes;
}

// A varied photo-like picture: smooth fields with noise, saturated and dark corners.
QImage Photo(int width = 1024, int height = 640)
{
    return NoisyGradient(width, height, QImage::Format_BGR888);
}

// A JPEG of the picture written by libjpeg-turbo, the profile (if any) in its own APP2 chunks.
void WriteJpeg(const QString& path, const QImage& picture, const QByteArray& profile = {})
{
    FILE* out = std::fopen(QFile::encodeName(path).constData(), "wb");
    ASSERT_NE(out, nullptr);
    jpeg_compress_struct compressor {};
    jpeg_error_mgr errors {};
    compressor.err = jpeg_std_error(&errors);
    jpeg_create_compress(&compressor);
    jpeg_stdio_dest(&compressor, out);
    compressor.image_width = JDIMENSION(picture.width());
    compressor.image_height = JDIMENSION(picture.height());
    compressor.input_components = 3;
    compressor.in_color_space = JCS_EXT_BGR;
    jpeg_set_defaults(&compressor);
    jpeg_set_quality(&compressor, 90, TRUE);
    jpeg_start_compress(&compressor, TRUE);
    if (!profile.isEmpty())
        jpeg_write_icc_profile(
            &compressor, reinterpret_cast<const JOCTET*>(profile.constData()), unsigned(profile.size()));
    while (compressor.next_scanline < compressor.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(picture.constScanLine(int(compressor.next_scanline)));
        jpeg_write_scanlines(&compressor, &row, 1);
    }
    jpeg_finish_compress(&compressor);
    jpeg_destroy_compress(&compressor);
    std::fclose(out);
}

// A HEIC file of the picture written by libheif with the profile in its colour box (ImageMagick
// 6 writes HEIC without the profile).
void WriteHeic(const QString& path, const QImage& picture, const QByteArray& profile)
{
    heif_context* context = heif_context_alloc();
    heif_encoder* encoder = nullptr;
    heif_image* image = nullptr;
    ASSERT_EQ(heif_context_get_encoder_for_format(context, heif_compression_HEVC, &encoder).code, heif_error_Ok);
    heif_encoder_set_lossy_quality(encoder, 90);
    const int width = picture.width(), height = picture.height();
    heif_image_create(width, height, heif_colorspace_RGB, heif_chroma_interleaved_RGB, &image);
    heif_image_add_plane(image, heif_channel_interleaved, width, height, 8);
    int stride = 0;
    std::uint8_t* plane = heif_image_get_plane(image, heif_channel_interleaved, &stride);
    for (int y = 0; y < height; ++y) {
        const uchar* bgr = picture.constScanLine(y);
        for (int x = 0; x < width; ++x)
            for (int c = 0; c < 3; ++c)
                plane[y * stride + x * 3 + c] = bgr[x * 3 + 2 - c];
    }
    heif_image_set_raw_color_profile(image, "prof", profile.constData(), std::size_t(profile.size()));
    EXPECT_EQ(heif_context_encode_image(context, image, encoder, nullptr, nullptr).code, heif_error_Ok);
    EXPECT_EQ(heif_context_write_to_file(context, QFile::encodeName(path).constData()).code, heif_error_Ok);
    heif_image_release(image);
    heif_encoder_release(encoder);
    heif_context_free(context);
}

// A lossless file of the picture written by ImageMagick with the profile attached as it is
// (ImageMagick's own profile call would convert the pixels).
void WriteMagick(const QString& path, const std::string& coder, const QImage& picture, const QByteArray& profile)
{
    Magick::Image image(
        std::size_t(picture.width()), std::size_t(picture.height()), "BGR", MagickCore::CharPixel, picture.constBits());
    ASSERT_EQ(picture.bytesPerLine(), picture.width() * 3);
    if (!profile.isEmpty()) {
        image.modifyImage();
        MagickCore::StringInfo* info = MagickCore::AcquireStringInfo(std::size_t(profile.size()));
        MagickCore::SetStringInfoDatum(info, reinterpret_cast<const unsigned char*>(profile.constData()));
        MagickCore::SetImageProfile(image.image(), "icc", info);
        MagickCore::DestroyStringInfo(info);
    }
    image.quiet(true); // libpng leaves out a grey profile on an RGB picture with a warning
    image.magick(coder);
    image.write(QFile::encodeName(path).toStdString());
}

// The pixels as stored, before any profile: the bridge for JPEG, the general decoder otherwise.
QImage RawDecode(const QString& path)
{
    QImage raw;
    if (path.endsWith(".jpg"))
        EXPECT_EQ(LoadJpegThroughBridge(path, raw), 0);
    else
        EXPECT_TRUE(DecodeWithGeneralDecoder(path, raw));
    return raw;
}

// lcms2's own conversion of the same pixels, in one call on this thread.
QImage LcmsToSrgb(const QImage& raw, const QByteArray& profile)
{
    cmsHPROFILE source = cmsOpenProfileFromMem(profile.constData(), cmsUInt32Number(profile.size()));
    cmsHPROFILE srgb = cmsCreate_sRGBProfile();
    cmsHTRANSFORM transform
        = cmsCreateTransform(source, TYPE_BGR_8, srgb, TYPE_BGR_8, INTENT_PERCEPTUAL, cmsFLAGS_BLACKPOINTCOMPENSATION);
    if (transform == nullptr) {
        ADD_FAILURE() << "lcms2 builds no transform from this profile";
        return {};
    }
    QImage converted = raw.copy();
    cmsDoTransformLineStride(transform, raw.constBits(), converted.bits(), cmsUInt32Number(raw.width()),
        cmsUInt32Number(raw.height()), cmsUInt32Number(raw.bytesPerLine()), cmsUInt32Number(raw.bytesPerLine()), 0, 0);
    cmsDeleteTransform(transform);
    cmsCloseProfile(srgb);
    cmsCloseProfile(source);
    return converted;
}

QByteArray Chunk(int sequence, int count, const QByteArray& data)
{
    return QByteArray("ICC_PROFILE", 12) + char(sequence) + char(count) + data;
}

// The JPEG with APP2 segments of these payloads put right after its start of image.
QByteArray WithApp2(QByteArray jpeg, const QList<QByteArray>& payloads)
{
    QByteArray segments;
    for (const QByteArray& payload : payloads)
        segments
            += QByteArray("\xFF\xE2", 2) + char((payload.size() + 2) >> 8) + char((payload.size() + 2) & 255) + payload;
    return jpeg.insert(2, segments);
}

QByteArray SmallJpeg()
{
    QTemporaryDir dir;
    WriteJpeg(dir.filePath("small.jpg"), Photo(16, 8));
    return ReadFileBytes(dir.filePath("small.jpg"));
}

JpegProfileChunks ReadProfile(const QByteArray& jpeg, QByteArray& profile)
{
    QByteArray bytes = jpeg;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    return ReadJpegProfile(buffer, profile);
}

} // namespace

TEST(JpegProfile, ChunksAreJoinedInSequenceOrderOrRefused)
{
    const QByteArray jpeg = SmallJpeg();
    struct Case {
        const char* name;
        QList<QByteArray> payloads;
        JpegProfileChunks expected;
        QByteArray profile;
    };
    const QByteArray other = QByteArray("FPXR", 5) + "data";
    const Case cases[] = {
        { "no APP2", {}, JpegProfileChunks::None, {} },
        { "other APP2 only", { other }, JpegProfileChunks::None, {} },
        { "one chunk", { Chunk(1, 1, "abc") }, JpegProfileChunks::Whole, "abc" },
        { "out of order", { Chunk(3, 3, "ghi"), other, Chunk(1, 3, "abc"), Chunk(2, 3, "def") },
            JpegProfileChunks::Whole, "abcdefghi" },
        { "missing", { Chunk(1, 3, "abc"), Chunk(3, 3, "ghi") }, JpegProfileChunks::Broken, {} },
        { "repeated", { Chunk(1, 2, "abc"), Chunk(1, 2, "abc"), Chunk(2, 2, "def") }, JpegProfileChunks::Broken, {} },
        { "counts disagree", { Chunk(1, 2, "abc"), Chunk(2, 3, "def") }, JpegProfileChunks::Broken, {} },
        { "sequence 0", { Chunk(0, 1, "abc") }, JpegProfileChunks::Broken, {} },
        { "count 0", { Chunk(1, 0, "abc") }, JpegProfileChunks::Broken, {} },
        { "beyond count", { Chunk(2, 1, "abc") }, JpegProfileChunks::Broken, {} },
        { "header cut short", { QByteArray("ICC_PROFILE\0\1", 13) }, JpegProfileChunks::Broken, {} },
        { "no data", { Chunk(1, 1, {}) }, JpegProfileChunks::Broken, {} },
    };
    for (const Case& c : cases) {
        QByteArray profile = "stale";
        EXPECT_EQ(ReadProfile(WithApp2(jpeg, c.payloads), profile), c.expected) << c.name;
        EXPECT_EQ(profile, c.profile) << c.name;
    }

    // A chunk after the start of scan is never looked at; a damaged segment ends the walk, and
    // the chunks seen before it are judged.
    QByteArray profile;
    EXPECT_EQ(ReadProfile(jpeg.left(jpeg.size() - 2) + WithApp2("\xFF\xD8", { Chunk(1, 1, "abc") }).mid(2), profile),
        JpegProfileChunks::None);
    const QByteArray cut = WithApp2(jpeg, { Chunk(1, 2, "abc"), Chunk(2, 2, "def") });
    constexpr int kSegment = 4 + 14 + 3; // marker and length, chunk header, three bytes of data
    EXPECT_EQ(ReadProfile(cut.left(2 + kSegment + 9), profile), JpegProfileChunks::Broken);
    EXPECT_EQ(ReadProfile(cut.left(2 + 2 * kSegment), profile), JpegProfileChunks::Whole);
    EXPECT_EQ(profile, "abcdef");
    EXPECT_EQ(ReadProfile("not a JPEG", profile), JpegProfileChunks::None);
}

TEST(ColourProfile, DecodingConvertsToSrgbExactlyAsLcms2Does)
{
    QTemporaryDir dir;
    const QImage photo = Photo();
    struct Case {
        const char* name;
        QByteArray profile;
    };
    const Case profiles[] = {
        { "adobe", AdobeRgb() },
        { "p3", DisplayP3() },
        { "adobe-large", LargeAdobeRgb() },
    };
    ASSERT_GT(profiles[2].profile.size(), 65519);
    for (const Case& profile : profiles) {
        for (const char* extension : { "jpg", "png", "tif", "psd", "heic" }) {
            const QString path = dir.filePath(QStringLiteral("%1.%2").arg(profile.name, extension));
            if (QLatin1String(extension) == "jpg")
                WriteJpeg(path, photo, profile.profile);
            else if (QLatin1String(extension) == "heic")
                WriteHeic(path, photo, profile.profile);
            else
                WriteMagick(path, CoderForExtension(extension).toStdString(), photo, profile.profile);
            const QImage raw = RawDecode(path);
            const QImage expected = LcmsToSrgb(raw, profile.profile);
            QImage decoded;
            ASSERT_TRUE(LoadPhotoBitmap(path, decoded)) << path.toStdString();
            EXPECT_EQ(decoded.format(), QImage::Format_BGR888);
            EXPECT_NE(decoded, raw) << path.toStdString();
            EXPECT_TRUE(decoded == expected) << path.toStdString();
        }
    }

    // The large profile really is split, and comes back whole.
    QFile file(dir.filePath("adobe-large.jpg"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_EQ(bytes.count(QByteArray("ICC_PROFILE", 12)), 2);
    QByteArray read;
    ASSERT_TRUE(file.seek(0));
    EXPECT_EQ(ReadJpegProfile(file, read), JpegProfileChunks::Whole);
    EXPECT_EQ(read, profiles[2].profile);
}

// Every 8-bit colour once, in a 4096 x 4096 picture.
QImage EveryColour()
{
    QImage picture(4096, 4096, QImage::Format_BGR888);
    for (int y = 0; y < picture.height(); ++y) {
        uchar* pixel = picture.scanLine(y);
        for (int x = 0; x < picture.width(); ++x, pixel += 3) {
            const int colour = y * picture.width() + x;
            pixel[0] = uchar(colour);
            pixel[1] = uchar(colour >> 8);
            pixel[2] = uchar(colour >> 16);
        }
    }
    return picture;
}

// Matrix-shaper profiles take their own driver of lcms2's optimised transform, the others lcms2's
// whole transform; either way every colour comes out as lcms2's.
TEST(ColourProfile, EveryColourConvertsExactlyAsLcms2Does)
{
    const QImage colours = EveryColour();
    struct Case {
        const char* name;
        QByteArray profile;
    };
    const Case cases[] = {
        { "adobe", AdobeRgb() },
        { "p3", DisplayP3() },
        { "tabulated curves", LargeAdobeRgb() },
        { "raised black", RaisedBlackRgb() },
        { "lookup table", LutRgb() },
    };
    for (const Case& c : cases) {
        QImage converted = colours.copy();
        ASSERT_EQ(ConvertProfileToSrgb(converted, c.profile), ProfileConversion::Converted) << c.name;
        EXPECT_NE(converted, colours) << c.name;
        EXPECT_TRUE(converted == LcmsToSrgb(colours, c.profile)) << c.name;

        // The same conversion on 32-bit rows, as a decoder hands them over in bands.
        QImage rows = As32BitPicture(colours);
        const TSrgbConversion conversion(c.profile);
        ASSERT_EQ(conversion.Result(), ProfileConversion::Converted) << c.name;
        for (int y = 0; y < rows.height(); y += 1000)
            conversion.ConvertRows(reinterpret_cast<std::uint32_t*>(rows.scanLine(y)), rows.width(),
                std::min(1000, rows.height() - y), rows.bytesPerLine() / 4);
        EXPECT_TRUE(rows == As32BitPicture(converted)) << c.name << ": 32-bit rows, alpha kept";
    }
}

TEST(ColourProfile, SrgbGreyAndMissingProfilesLeaveThePixelsAsStored)
{
    QTemporaryDir dir;
    const QImage photo = Photo(320, 200);
    struct Case {
        const char* name;
        QByteArray profile;
    };
    const Case cases[] = {
        { "none", {} },
        { "lcms-srgb", SavedProfile(cmsCreate_sRGBProfile()) },
        // sRGB as many cameras embed it: its colorants and a 1024-entry curve table.
        { "table-srgb", RgbProfile(kSrgbPrimaries, Tabulated(SrgbCurve(), 1024)) },
        { "grey", GreyProfile() },
    };
    for (const Case& c : cases) {
        for (const char* extension : { "jpg", "png" }) {
            const QString path = dir.filePath(QStringLiteral("%1.%2").arg(c.name, extension));
            if (QLatin1String(extension) == "jpg")
                WriteJpeg(path, photo, c.profile);
            else
                WriteMagick(path, "PNG", photo, c.profile);
            QImage decoded;
            ASSERT_TRUE(LoadPhotoBitmap(path, decoded)) << path.toStdString();
            EXPECT_TRUE(decoded == RawDecode(path)) << path.toStdString();
        }
        // Recognised, not merely converted to the same pixels.
        QImage picture = photo.copy();
        if (!c.profile.isEmpty()) {
            EXPECT_EQ(ConvertProfileToSrgb(picture, c.profile), ProfileConversion::Unchanged) << c.name;
        }
    }
    // A profile that only resembles sRGB (a plain 2.2 gamma) is converted.
    QImage picture = photo.copy();
    EXPECT_EQ(ConvertProfileToSrgb(picture, RgbProfile(kSrgbPrimaries, cmsBuildGamma(nullptr, 2.2))),
        ProfileConversion::Converted);
    EXPECT_NE(picture, photo);
}

TEST(ColourProfile, BrokenProfilesAreLoggedAndThePixelsKept)
{
    QTemporaryDir dir;
    const QImage photo = Photo(64, 48);
    const QByteArray adobe = AdobeRgb();
    QByteArray truncated = adobe.left(200);
    struct Case {
        const char* name;
        QList<QByteArray> payloads;
        const char* why;
    };
    const Case cases[] = {
        { "garbage", { Chunk(1, 1, "this is no colour profile at all") }, "can't be read" },
        { "truncated", { Chunk(1, 1, truncated) }, "can't be read" },
        { "missing-chunk", { Chunk(1, 2, adobe.left(300)) }, "is incomplete" },
    };
    WriteJpeg(dir.filePath("plain.jpg"), photo);
    const QByteArray plain = ReadFileBytes(dir.filePath("plain.jpg"));
    for (const Case& c : cases) {
        const QString path = dir.filePath(QLatin1String(c.name) + ".jpg");
        ASSERT_TRUE(WriteFileBytes(path, WithApp2(plain, c.payloads)));
        QImage decoded;
        ASSERT_TRUE(LoadPhotoBitmap(path, decoded)) << c.name;
        EXPECT_TRUE(decoded == RawDecode(path)) << c.name;
        EXPECT_TRUE(LogHasLine(QStringLiteral("Colour profile of %1 %2: colours left as stored").arg(path, c.why), 2))
            << c.name;
    }
}
