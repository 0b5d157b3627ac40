// The JPEG bridge library on real files: properties, layouts, orientation, colour order, grey
// expansion, four channels with premultiplied alpha, error codes.
#include "jfxlib.h"
#include "tests/support/testsupport.h"

#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

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
