// The JPEG bridge library on real files: properties, layouts, orientation, colour order, grey
// expansion, four channels with premultiplied alpha, files of other encoders, the decoding
// limits, error codes.
#include "jfxlib.h"
#include "tests/support/testsupport.h"

#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include <jpeglib.h>

namespace {

class Bridge : public testing::Test {
protected:
    std::string Path(const char* name) const { return QFile::encodeName(dir_.filePath(name)).toStdString(); }

    // Properties and decoded buffer of a file; the buffer is empty when either call fails.
    std::vector<unsigned char> Decode(const std::string& path, JfxProperties& properties)
    {
        if (JfxGetProperties(path.c_str(), &properties) != JFX_OK)
            return {};
        std::vector<unsigned char> decoded(std::size_t(properties.bufferSize));
        if (JfxReadImageChecked(path.c_str(), decoded.data(), &properties) != JFX_OK)
            return {};
        return decoded;
    }

    // A bottom-up BGR buffer: row r (from the bottom) holds blue = x, green = r, red = 200.
    static std::vector<unsigned char> Gradient(int width, int height, int channels)
    {
        const int rowBytes = (width * channels + 3) & ~3;
        std::vector<unsigned char> pixels(std::size_t(rowBytes * height), 0xEE);
        for (int r = 0; r < height; ++r)
            for (int x = 0; x < width; ++x) {
                unsigned char* p = &pixels[std::size_t(r * rowBytes + x * channels)];
                p[0] = static_cast<unsigned char>(x * 255 / std::max(width - 1, 1));
                p[1] = static_cast<unsigned char>(r * 255 / std::max(height - 1, 1));
                p[2] = 200;
                if (channels == 4)
                    p[3] = 128;
            }
        return pixels;
    }

    QTemporaryDir dir_;
};

} // namespace

struct PropertiesCase {
    int width, height;
    int bufferSize, padBytes;
};

class BridgeProperties : public Bridge, public testing::WithParamInterface<PropertiesCase> { };

TEST_P(BridgeProperties, ReportLayoutOfAColourFile)
{
    const PropertiesCase& c = GetParam();
    const std::string path = Path("colour.jpg");
    const std::vector<unsigned char> pixels = Gradient(c.width, c.height, 3);
    ASSERT_EQ(JfxWriteImage(path.c_str(), c.width, c.height, 3, pixels.data(), 300, 90), JFX_OK);
    JfxProperties p {};
    ASSERT_EQ(JfxGetProperties(path.c_str(), &p), JFX_OK);
    EXPECT_EQ(p.width, c.width);
    EXPECT_EQ(p.height, c.height);
    EXPECT_EQ(p.density, 300);
    EXPECT_EQ(p.bitsPerPixel, 24);
    EXPECT_EQ(p.channels, 3);
    EXPECT_EQ(p.bufferSize, c.bufferSize);
    EXPECT_EQ(p.padBytes, c.padBytes);
}

INSTANTIATE_TEST_SUITE_P(Jfx, BridgeProperties,
    testing::Values(PropertiesCase { 640, 480, 921600, 0 }, PropertiesCase { 641, 480, 1924 * 480, 1 },
        PropertiesCase { 1, 1, 4, 1 }, PropertiesCase { 3, 2, 24, 3 }));

TEST_F(Bridge, RoundTripKeepsOrientationAndColourOrder)
{
    const int width = 64, height = 48;
    const std::string path = Path("round.jpg");
    const std::vector<unsigned char> pixels = Gradient(width, height, 3);
    ASSERT_EQ(JfxWriteImage(path.c_str(), width, height, 3, pixels.data(), 72, 100), JFX_OK);
    JfxProperties p {};
    const std::vector<unsigned char> decoded = Decode(path, p);
    ASSERT_EQ(decoded.size(), std::size_t(width * 3 * height));
    const int rowBytes = width * 3;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            // Decoded rows are top first; the input was bottom first.
            const unsigned char* in = &pixels[std::size_t((height - 1 - y) * rowBytes + x * 3)];
            const unsigned char* out = &decoded[std::size_t(y * rowBytes + x * 3)];
            for (int c = 0; c < 3; ++c)
                ASSERT_NEAR(out[c], in[c], 6) << x << "," << y << " channel " << c;
        }
    // The file is 4:2:0 YCbCr with the density in dots per inch.
    const QByteArray file = ReadFileBytes(dir_.filePath("round.jpg"));
    EXPECT_EQ(file.mid(6, 5), QByteArray("JFIF\0", 5));
    EXPECT_EQ(file.mid(13, 5), QByteArray::fromHex("0100480048"));
    const int sof = file.indexOf(QByteArray::fromHex("ffc0"));
    ASSERT_GT(sof, 0);
    EXPECT_EQ(uchar(file[sof + 9]), 3); // components
    EXPECT_EQ(uchar(file[sof + 11]), 0x22); // Y sampled 2 x 2
    EXPECT_EQ(uchar(file[sof + 14]), 0x11);
}

TEST_F(Bridge, GreyFilesExpandToThreeEqualBytes)
{
    QImage grey(13, 7, QImage::Format_Grayscale8);
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 13; ++x)
            grey.scanLine(y)[x] = uchar(x * 19);
    ASSERT_TRUE(grey.save(dir_.filePath("grey.jpg"), "JPG", 100));
    JfxProperties p {};
    const std::vector<unsigned char> decoded = Decode(Path("grey.jpg"), p);
    ASSERT_EQ(decoded.size(), 40u * 7);
    EXPECT_EQ(p.bitsPerPixel, 8);
    EXPECT_EQ(p.channels, 3);
    EXPECT_EQ(p.padBytes, 1);
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 13; ++x) {
            const unsigned char* px = &decoded[std::size_t(y * 40 + x * 3)];
            EXPECT_EQ(px[0], px[1]);
            EXPECT_EQ(px[1], px[2]);
            EXPECT_NEAR(px[0], x * 19, 3);
        }
}

TEST_F(Bridge, FourChannelsComeBackPremultiplied)
{
    const int width = 32, height = 16;
    const std::string path = Path("alpha.jpg");
    const std::vector<unsigned char> pixels = Gradient(width, height, 4);
    ASSERT_EQ(JfxWriteImage(path.c_str(), width, height, 4, pixels.data(), 96, 100), JFX_OK);
    JfxProperties p {};
    const std::vector<unsigned char> decoded = Decode(path, p);
    ASSERT_EQ(decoded.size(), std::size_t(width * height * 4));
    EXPECT_EQ(p.bitsPerPixel, 32);
    EXPECT_EQ(p.channels, 4);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const unsigned char* in = &pixels[std::size_t(((height - 1 - y) * width + x) * 4)];
            const unsigned char* out = &decoded[std::size_t((y * width + x) * 4)];
            EXPECT_NEAR(out[3], 128, 2);
            for (int c = 0; c < 3; ++c)
                EXPECT_NEAR(out[c], (in[c] * out[3] + 1) >> 8, 4) << x << "," << y << " channel " << c;
        }
}

TEST_F(Bridge, FailuresHaveTheirCodesAndLeaveTheBufferAlone)
{
    ASSERT_TRUE(WriteFileBytes(dir_.filePath("text.jpg"), "not a JPEG at all"));
    const std::string text = Path("text.jpg");
    JfxProperties p {};
    EXPECT_EQ(JfxGetProperties(text.c_str(), &p), JFX_ERR_HEADER);
    std::vector<unsigned char> buffer(64, 0x5A);
    EXPECT_EQ(JfxReadImageChecked(text.c_str(), buffer.data(), &p), JFX_ERR_HEADER);
    EXPECT_EQ(JfxReadImage(text.c_str(), buffer.data()), JFX_ERR_HEADER);
    EXPECT_EQ(buffer, std::vector<unsigned char>(64, 0x5A));
    EXPECT_EQ(JfxGetProperties(Path("missing.jpg").c_str(), &p), JFX_ERR_HEADER);

    // A truncated file: its header reads, its data does not.
    const std::vector<unsigned char> pixels = Gradient(256, 256, 3);
    ASSERT_EQ(JfxWriteImage(Path("whole.jpg").c_str(), 256, 256, 3, pixels.data(), 72, 100), JFX_OK);
    const QByteArray whole = ReadFileBytes(dir_.filePath("whole.jpg"));
    ASSERT_TRUE(WriteFileBytes(dir_.filePath("cut.jpg"), whole.left(whole.size() / 2)));
    ASSERT_EQ(JfxGetProperties(Path("cut.jpg").c_str(), &p), JFX_OK);
    std::vector<unsigned char> decoded(std::size_t(p.bufferSize));
    EXPECT_EQ(JfxReadImageChecked(Path("cut.jpg").c_str(), decoded.data(), &p), JFX_ERR_DECODE);
    EXPECT_EQ(JfxReadImage(Path("cut.jpg").c_str(), decoded.data()), JFX_ERR_DECODE);
    EXPECT_EQ(JfxReadImageChecked(Path("whole.jpg").c_str(), decoded.data(), nullptr), JFX_ERR_HEADER);

    EXPECT_EQ(JfxWriteImage(Path("two.jpg").c_str(), 4, 4, 2, pixels.data(), 72, 90), JFX_ERR_HEADER);
    EXPECT_EQ(JfxWriteImage(Path("none.jpg").c_str(), 0, 4, 3, pixels.data(), 72, 90), JFX_ERR_HEADER);
    EXPECT_EQ(JfxWriteImage(Path("no/such/folder.jpg").c_str(), 4, 4, 3, pixels.data(), 72, 90), JFX_ERR_HEADER);
    EXPECT_FALSE(QFile::exists(dir_.filePath("two.jpg")));
}

TEST(BridgeSizes, ImageSizeAndPadBytes)
{
    EXPECT_EQ(JfxImageSize(3, 2, 3), 24u);
    EXPECT_EQ(JfxPadBytes(3, 3), 3);
    EXPECT_EQ(JfxPadBytes(4, 3), 0);
    EXPECT_EQ(JfxImageSize(641, 480, 3), 1924u * 480);
    EXPECT_EQ(JfxImageSize(65535, 65535, 4), std::uint32_t(65535ull * 4 * 65535)); // wraps, no overflow trap
}

// A file replaced between JfxGetProperties and the read (a sync tool rewriting the folder) must
// never be decoded into the buffer made for the first one, whether it is larger, smaller or of
// another channel count, by either read.
TEST_F(Bridge, AFileReplacedAfterItsPropertiesIsRefusedWithoutTouchingTheBuffer)
{
    const struct {
        int width, height, channels;
    } replacements[] = { { 33, 16, 3 }, { 16, 17, 3 }, { 8, 8, 3 }, { 16, 16, 4 } };
    const std::string path = Path("swapped.jpg");
    for (const auto& replacement : replacements) {
        const std::vector<unsigned char> first = Gradient(16, 16, 3);
        ASSERT_EQ(JfxWriteImage(path.c_str(), 16, 16, 3, first.data(), 72, 90), JFX_OK);
        JfxProperties p {};
        ASSERT_EQ(JfxGetProperties(path.c_str(), &p), JFX_OK);

        const std::vector<unsigned char> second = Gradient(replacement.width, replacement.height, replacement.channels);
        ASSERT_EQ(JfxWriteImage(
                      path.c_str(), replacement.width, replacement.height, replacement.channels, second.data(), 72, 90),
            JFX_OK);
        std::vector<unsigned char> buffer(std::size_t(p.bufferSize) + 64, 0x5A);
        EXPECT_EQ(JfxReadImageChecked(path.c_str(), buffer.data(), &p), JFX_ERR_CHANGED) << replacement.width;
        EXPECT_EQ(JfxReadImage(path.c_str(), buffer.data()), JFX_ERR_CHANGED) << replacement.width;
        EXPECT_EQ(buffer, std::vector<unsigned char>(buffer.size(), 0x5A));
    }
}

namespace {

struct EncoderErrors {
    jpeg_error_mgr base;
    std::jmp_buf jump;
};

// A picture of one colour (sample: the components of one pixel) encoded by libjpeg itself, for
// the files JfxWriteImage does not write; JFIF files get 150 dpi. script: a scan script for a
// progressive file, empty for libjpeg's own progression. An empty result: libjpeg refused.
QByteArray EncodeUniform(int width, int height, J_COLOR_SPACE space, const std::vector<unsigned char>& sample,
    bool progressive, const std::vector<jpeg_scan_info>& script = {})
{
    jpeg_compress_struct encoder {};
    EncoderErrors errors {};
    unsigned char* out = nullptr;
    unsigned long size = 0;
    std::vector<unsigned char> row;
    for (int x = 0; x < width; ++x)
        row.insert(row.end(), sample.begin(), sample.end());
    encoder.err = jpeg_std_error(&errors.base);
    errors.base.error_exit
        = [](j_common_ptr info) { std::longjmp(reinterpret_cast<EncoderErrors*>(info->err)->jump, 1); };
    if (setjmp(errors.jump)) {
        jpeg_destroy_compress(&encoder);
        std::free(out);
        return {};
    }
    jpeg_create_compress(&encoder);
    jpeg_mem_dest(&encoder, &out, &size);
    encoder.image_width = JDIMENSION(width);
    encoder.image_height = JDIMENSION(height);
    encoder.input_components = int(sample.size());
    encoder.in_color_space = space;
    jpeg_set_defaults(&encoder); // CMYK input: an Adobe marker and no JFIF header
    jpeg_set_quality(&encoder, 95, TRUE);
    encoder.density_unit = 1;
    encoder.X_density = encoder.Y_density = 150;
    if (progressive && script.empty())
        jpeg_simple_progression(&encoder);
    if (progressive && !script.empty()) {
        encoder.scan_info = script.data();
        encoder.num_scans = int(script.size());
    }
    jpeg_start_compress(&encoder, TRUE);
    while (encoder.next_scanline < encoder.image_height) {
        JSAMPROW rows[] = { row.data() };
        jpeg_write_scanlines(&encoder, rows, 1);
    }
    jpeg_finish_compress(&encoder);
    jpeg_destroy_compress(&encoder);
    QByteArray bytes(reinterpret_cast<const char*>(out), qsizetype(size));
    std::free(out);
    return bytes;
}

// A valid progressive script of 1 + 3 x 63 x 3 = 568 scans for three components: every AC
// coefficient of every component on its own, in three steps of successive approximation.
std::vector<jpeg_scan_info> ManyScans()
{
    std::vector<jpeg_scan_info> scans { { 3, { 0, 1, 2, 0 }, 0, 0, 0, 0 } };
    for (int component = 0; component < 3; ++component)
        for (int k = 1; k < 64; ++k)
            for (const auto& [ah, al] : { std::pair { 0, 2 }, std::pair { 2, 1 }, std::pair { 1, 0 } })
                scans.push_back({ 1, { component, 0, 0, 0 }, k, k, ah, al });
    return scans;
}

// A progressive colour file (no JFIF header) whose only scan holds the DC coefficients, all
// zero: mid grey, a bit per block of scan data, while a decoder needs all its coefficients.
QByteArray DcOnlyProgressive(int width, int height)
{
    const auto twoBytes = [](int value) { return QByteArray(1, char(value >> 8)) + char(value & 0xFF); };
    const qint64 blocks = qint64((width + 7) / 8) * ((height + 7) / 8) * 3;
    return QByteArray::fromHex("ffd8ffc2001108") + twoBytes(height) + twoBytes(width)
        + QByteArray::fromHex("03011100021100031100") // three components, 1 x 1, table 0
        + QByteArray::fromHex("ffdb004300") + QByteArray(64, 1) // quantisation table 0
        + QByteArray::fromHex("ffc40014000100000000000000000000000000000000") // DC table: "0" is 0
        + QByteArray::fromHex("ffda000c03010002000300000000") // DC scan, Ss = Se = Ah = Al = 0
        + QByteArray(int((blocks + 7) / 8), 0) + QByteArray::fromHex("ffd9");
}

QByteArray UniformBgr(bool progressive, const std::vector<jpeg_scan_info>& script = {})
{
    return EncodeUniform(40, 30, JCS_EXT_BGR, { 30, 120, 200 }, progressive, script);
}

// A file of JfxWriteImage with its JFIF segment taken out.
QByteArray WithoutJfif()
{
    QTemporaryDir dir;
    const QByteArray path = QFile::encodeName(dir.filePath("jfif.jpg"));
    std::vector<unsigned char> bgr;
    for (int i = 0; i < 20 * 12; ++i)
        bgr.insert(bgr.end(), { 30, 120, 200 });
    if (JfxWriteImage(path.constData(), 20, 12, 3, bgr.data(), 72, 95) != JFX_OK)
        return {};
    QByteArray file = ReadFileBytes(dir.filePath("jfif.jpg"));
    if (file.mid(2, 2) != QByteArray::fromHex("ffe0"))
        return {};
    return file.remove(2, 2 + (uchar(file[4]) << 8 | uchar(file[5])));
}

struct FileCase {
    const char* name;
    QByteArray (*make)();
    int bitsPerPixel, channels, density;
    int readResult;
    std::array<int, 4> pixel; // every decoded pixel of a read that succeeds, channels bytes
};

} // namespace

class BridgeFiles : public Bridge, public testing::WithParamInterface<FileCase> { };

// Files written by other encoders, and files the decoding limits refuse (a read that fails
// leaves the program's general decoder to try).
TEST_P(BridgeFiles, PropertiesAndRead)
{
    const FileCase& c = GetParam();
    const QByteArray bytes = c.make();
    ASSERT_FALSE(bytes.isEmpty());
    ASSERT_TRUE(WriteFileBytes(dir_.filePath("file.jpg"), bytes));
    const std::string path = Path("file.jpg");
    JfxProperties p {};
    ASSERT_EQ(JfxGetProperties(path.c_str(), &p), JFX_OK);
    EXPECT_EQ(p.bitsPerPixel, c.bitsPerPixel);
    EXPECT_EQ(p.channels, c.channels);
    EXPECT_EQ(p.density, c.density);
    // Not zero-filled: the refused large picture must not cost its memory.
    const std::unique_ptr<unsigned char[]> buffer(new unsigned char[std::size_t(p.bufferSize)]);
    ASSERT_EQ(JfxReadImageChecked(path.c_str(), buffer.get(), &p), c.readResult);
    if (c.readResult != JFX_OK)
        return;
    const int rowBytes = p.bufferSize / p.height;
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x)
            for (int k = 0; k < p.channels; ++k)
                ASSERT_NEAR(buffer[std::size_t(y * rowBytes + x * p.channels + k)], c.pixel[std::size_t(k)], 3)
                    << x << "," << y << " channel " << k;
}

INSTANTIATE_TEST_SUITE_P(Jfx, BridgeFiles,
    testing::Values(FileCase { "progressive", [] { return UniformBgr(true); }, 24, 3, 150, JFX_OK, { 30, 120, 200 } },
        // Four components are taken as Y, Cb, Cr, A, whatever an Adobe marker says.
        FileCase { "cmyk_adobe",
            [] {
                return EncodeUniform(24, 8, JCS_CMYK, { 150, 128, 128, 255 }, false);
            },
            32, 4, 0, JFX_OK, { 149, 149, 149, 255 } },
        FileCase { "no_jfif", WithoutJfif, 24, 3, 0, JFX_OK, { 30, 120, 200 } },
        FileCase { "scan_limit", [] { return UniformBgr(true, ManyScans()); }, 24, 3, 150, JFX_ERR_DECODE, {} },
        FileCase { "dc_only", [] { return DcOnlyProgressive(64, 48); }, 24, 3, 0, JFX_OK, { 128, 128, 128 } },
        // 16384 x 12000: 590 MB of output, but 1.2 GB of coefficients, over the codec's 1 GiB.
        FileCase { "codec_memory_cap", [] { return DcOnlyProgressive(16384, 12000); }, 24, 3, 0, JFX_ERR_DECODE, {} }),
    [](const testing::TestParamInfo<FileCase>& row) { return std::string(row.param.name); });
