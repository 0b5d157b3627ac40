// HEIF, AVIF and WebP photos written by ImageMagick here: header facts (upright size, the
// orientation still to apply) and decoded pixels turned upright as PreparePhoto turns them.
// A turned HEIF file gets its irot property spliced in, a turned WebP file an EXIF chunk.
#include "imaging/containerinfo.h"
#include "imaging/decode.h"
#include "imaging/geometry.h"
#include "imaging/imageinfo.h"
#include "imaging/picture.h"
#include "tests/imaging/headerbytes.h"
#include "tests/support/testsupport.h"

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>

#include <Magick++.h>
#include <gtest/gtest.h>

namespace {

constexpr int kWidth = 64, kHeight = 32;

// Grey with a red 12 x 12 block at the stored picture's top left corner.
Magick::Image StoredPicture()
{
    Magick::Image image(Magick::Geometry(kWidth, kHeight), Magick::Color("grey50"));
    image.fillColor(Magick::Color("red"));
    image.draw(Magick::DrawableRectangle(0, 0, 11, 11));
    return image;
}

QByteArray Encode(Magick::Image image, const std::string& coder)
{
    Magick::Blob blob;
    image.quality(90);
    image.write(&blob, coder);
    return QByteArray(static_cast<const char*>(blob.data()), qsizetype(blob.length()));
}

// A WebP file whose EXIF chunk gives the orientation (ImageMagick writes the tag from the
// picture's orientation attribute into the EXIF profile).
QByteArray WebpWithOrientation(int orientation)
{
    Magick::Image image = StoredPicture();
    const QByteArray tiff = headerbytes::Tiff(false, { { { 274, 3, std::uint32_t(orientation) } } });
    image.profile("EXIF", Magick::Blob(tiff.constData(), std::size_t(tiff.size())));
    image.orientation(MagickCore::OrientationType(orientation));
    return Encode(image, "WEBP");
}

struct BoxAt {
    int at = -1;
    int size = 0;
};

quint32 Be(const QByteArray& bytes, int at, int width)
{
    quint32 value = 0;
    for (int i = 0; i < width; ++i)
        value = value << 8 | uchar(bytes[at + i]);
    return value;
}

void AddBe(QByteArray& bytes, int at, int width, quint32 delta)
{
    quint32 value = Be(bytes, at, width) + delta;
    for (int i = width - 1; i >= 0; --i, value >>= 8)
        bytes[at + i] = char(value & 0xFF);
}

BoxAt Child(const QByteArray& bytes, int begin, int end, const char* type)
{
    for (int at = begin; at + 8 <= end && Be(bytes, at, 4) >= 8; at += int(Be(bytes, at, 4)))
        if (bytes.mid(at + 4, 4) == type)
            return { at, int(Be(bytes, at, 4)) };
    return {};
}

int ChildCount(const QByteArray& bytes, int begin, int end)
{
    int count = 0;
    for (int at = begin; at + 8 <= end && Be(bytes, at, 4) >= 8; at += int(Be(bytes, at, 4)))
        ++count;
    return count;
}

// A property box of a HEIF file.
QByteArray Property(const char* type, const QByteArray& payload)
{
    QByteArray box(4, '\0');
    AddBe(box, 0, 4, quint32(8 + payload.size()));
    return box + type + payload;
}

// irot: counter-clockwise quarter turns.
QByteArray Rotation(int quarterTurns)
{
    return Property("irot", QByteArray(1, char(quarterTurns)));
}

// clap: a clean aperture of width x height pixels around the centre.
QByteArray CleanAperture(int width, int height)
{
    QByteArray payload(32, '\0');
    const quint32 fractions[] = { quint32(width), 1, quint32(height), 1, 0, 1, 0, 1 };
    for (int i = 0; i < 8; ++i)
        AddBe(payload, 4 * i, 4, fractions[i]);
    return Property("clap", payload);
}

// The HEIF file libheif wrote, with the property associated with its primary item after the
// ones it has: the property is appended to ipco and to the item's ipma entry, the enclosing
// boxes grow, and iloc's file offsets move past the inserted bytes. Empty when the file is not
// laid out as libheif writes it (ipma version 0, 8-bit indices).
QByteArray WithHeifProperty(QByteArray file, const QByteArray& property)
{
    const quint32 grown = quint32(property.size()) + 1;
    const BoxAt meta = Child(file, 0, int(file.size()), "meta");
    if (meta.at < 0)
        return {};
    const int metaEnd = meta.at + meta.size;
    const BoxAt pitm = Child(file, meta.at + 12, metaEnd, "pitm"), iloc = Child(file, meta.at + 12, metaEnd, "iloc");
    const BoxAt iprp = Child(file, meta.at + 12, metaEnd, "iprp");
    if (pitm.at < 0 || iloc.at < 0 || iprp.at < 0)
        return {};
    const BoxAt ipco = Child(file, iprp.at + 8, iprp.at + iprp.size, "ipco");
    const BoxAt ipma = Child(file, iprp.at + 8, iprp.at + iprp.size, "ipma");
    if (ipco.at < 0 || ipma.at < ipco.at || Be(file, ipma.at + 8, 4) != 0)
        return {};
    const quint32 primary = Be(file, pitm.at + 12, 2);
    const int properties = ChildCount(file, ipco.at + 8, ipco.at + ipco.size);

    int countAt = -1, insertAt = -1;
    for (quint32 entry = 0, at = quint32(ipma.at) + 16; entry < Be(file, ipma.at + 12, 4); ++entry) {
        const int count = uchar(file[at + 2]);
        if (Be(file, int(at), 2) == primary) {
            countAt = int(at) + 2;
            insertAt = int(at) + 3 + count;
        }
        at += 3 + quint32(count);
    }
    if (countAt < 0)
        return {};

    // Item data stored in the file (construction method 0) lies after meta and moves.
    const int version = uchar(file[iloc.at + 8]);
    int p = iloc.at + 12;
    const int offsetSize = uchar(file[p]) >> 4, lengthSize = uchar(file[p]) & 15, baseSize = uchar(file[p + 1]) >> 4;
    const int indexSize = version >= 1 ? uchar(file[p + 1]) & 15 : 0;
    const int idSize = version < 2 ? 2 : 4;
    p += 2;
    const quint32 items = Be(file, p, idSize);
    p += idSize;
    for (quint32 item = 0; item < items; ++item) {
        p += idSize;
        const bool inFile = version == 0 || (Be(file, p, 2) & 15) == 0;
        p += version >= 1 ? 4 : 2;
        const bool shiftBase = inFile && baseSize > 0;
        if (shiftBase)
            AddBe(file, p, baseSize, grown);
        p += baseSize;
        const quint32 extents = Be(file, p, 2);
        p += 2;
        for (quint32 extent = 0; extent < extents; ++extent) {
            p += indexSize;
            if (inFile && !shiftBase && offsetSize > 0)
                AddBe(file, p, offsetSize, grown);
            p += offsetSize + lengthSize;
        }
    }

    file[countAt] = char(file[countAt] + 1);
    for (const BoxAt& box : { meta, iprp })
        AddBe(file, box.at, 4, grown);
    AddBe(file, ipco.at, 4, quint32(property.size()));
    AddBe(file, ipma.at, 4, 1);
    file.insert(insertAt, char(0x80 | (properties + 1)));
    file.insert(ipco.at + ipco.size, property);
    return file;
}

bool Reddish(QRgb c)
{
    return qRed(c) > 180 && qGreen(c) < 90 && qBlue(c) < 90;
}

// Which corner of the picture is red: "tl", "tr", "bl", "br", or "" when none or several are.
QString RedCorner(const QImage& picture)
{
    const int right = picture.width() - 3, bottom = picture.height() - 3;
    const struct {
        int x, y;
        const char* name;
    } corners[] = { { 2, 2, "tl" }, { right, 2, "tr" }, { 2, bottom, "bl" }, { right, bottom, "br" } };
    QString found;
    for (const auto& corner : corners)
        if (Reddish(picture.pixel(corner.x, corner.y)))
            found += QLatin1String(corner.name);
    return found;
}

} // namespace

// HEIF turns are libheif's to apply (the reader reports them done: orientation 1, sides already
// exchanged); WebP's EXIF orientation is left for UprightByOrientation, as a JPEG's is.
TEST(PhoneFormats, PhotosComeUprightWithTheirUprightSize)
{
    const QByteArray heic = Encode(StoredPicture(), "HEIC");
    const QByteArray avif = Encode(StoredPicture(), "AVIF");
    const QSize landscape(kWidth, kHeight), portrait(kHeight, kWidth);
    const struct {
        const char* name;
        QByteArray bytes;
        ImageKind kind;
        int orientation; // as reported: still to apply
        QSize upright;
        const char* red;
    } cases[] = {
        { "plain.heic", heic, kKindHeif, 1, landscape, "tl" },
        { "quarter clockwise.heic", WithHeifProperty(heic, Rotation(3)), kKindHeif, 1, portrait, "tr" },
        { "quarter counter-clockwise.heif", WithHeifProperty(heic, Rotation(1)), kKindHeif, 1, portrait, "bl" },
        { "cropped, then turned.heic", WithHeifProperty(WithHeifProperty(heic, CleanAperture(56, 28)), Rotation(3)),
            kKindHeif, 1, QSize(28, 56), "tr" },
        { "half.avif", WithHeifProperty(avif, Rotation(2)), kKindHeif, 1, landscape, "br" },
        { "quarter clockwise.AVIF", WithHeifProperty(avif, Rotation(3)), kKindHeif, 1, portrait, "tr" },
        { "plain.webp", Encode(StoredPicture(), "WEBP"), kKindWebp, 0, landscape, "tl" },
        { "exif 6.webp", WebpWithOrientation(6), kKindWebp, 6, portrait, "tr" },
        { "exif 3.webp", WebpWithOrientation(3), kKindWebp, 3, landscape, "br" },
        { "exif 8.webp", WebpWithOrientation(8), kKindWebp, 8, portrait, "bl" },
    };
    QTemporaryDir dir;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_FALSE(c.bytes.isEmpty());
        const QString path = dir.filePath(QLatin1String(c.name));
        ASSERT_TRUE(WriteFileBytes(path, c.bytes));
        ImageInfo info;
        ASSERT_TRUE(ReadImageInfo(path, info));
        EXPECT_EQ(info.kind, c.kind);
        EXPECT_EQ(QSize(info.width, info.height), c.upright);
        EXPECT_EQ(info.orientation, c.orientation);
        EXPECT_EQ(info.bitsPerPixel, 24);

        QImage decoded;
        ASSERT_TRUE(LoadPhotoBitmap(path, decoded));
        QImage picture = As32BitPicture(decoded);
        ASSERT_TRUE(UprightByOrientation(picture, info.orientation));
        EXPECT_EQ(picture.size(), c.upright);
        EXPECT_EQ(RedCorner(picture), QLatin1String(c.red));
    }
}

// Lossless WebP (a VP8L frame) and a file whose EXIF chunk keeps the "Exif" signature; then the
// readers on every prefix of real files, which must end cleanly and never report a wrong size.
TEST(PhoneFormats, HeaderReadersTakeEveryLayoutAndAnyCut)
{
    Magick::Image lossless = StoredPicture();
    lossless.defineValue("webp", "lossless", "true");
    const QByteArray vp8l = Encode(lossless, "WEBP");
    ASSERT_EQ(vp8l.mid(12, 4), "VP8L");
    ImageInfo info {};
    QBuffer buffer;
    buffer.setData(vp8l);
    buffer.open(QIODevice::ReadOnly);
    ASSERT_TRUE(ReadWebpHeaderInfo(buffer, info));
    EXPECT_EQ(QSize(info.width, info.height), QSize(kWidth, kHeight));
    buffer.close();

    QByteArray signed6 = WebpWithOrientation(6);
    const int exif = int(signed6.indexOf("EXIF"));
    ASSERT_GT(exif, 0);
    signed6.insert(exif + 8, QByteArray("Exif\0\0", 6));
    AddBe(signed6, exif + 4, 1, 6); // the chunk's little-endian size: its lowest byte
    AddBe(signed6, 4, 1, 6); // the RIFF size likewise
    info = {};
    buffer.setData(signed6);
    buffer.open(QIODevice::ReadOnly);
    ASSERT_TRUE(ReadWebpHeaderInfo(buffer, info));
    EXPECT_EQ(info.orientation, 6);
    EXPECT_EQ(info.hasExif, 1);
    buffer.close();

    const QByteArray turned = WithHeifProperty(Encode(StoredPicture(), "HEIC"), Rotation(1));
    for (const QByteArray& whole : { turned, signed6 }) {
        const bool heif = whole.mid(4, 4) == "ftyp";
        for (qsizetype length = 0; length < whole.size(); ++length) {
            ImageInfo cut {};
            QBuffer part;
            part.setData(whole.left(length));
            part.open(QIODevice::ReadOnly);
            const bool read = heif ? ReadHeifHeaderInfo(part, cut) : ReadWebpHeaderInfo(part, cut);
            if (read) {
                EXPECT_EQ(QSize(cut.width, cut.height), heif ? QSize(kHeight, kWidth) : QSize(kWidth, kHeight))
                    << length;
            }
        }
    }
}
