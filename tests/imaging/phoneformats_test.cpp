// HEIF, AVIF and WebP photos written by ImageMagick here: header facts (upright size, the
// orientation still to apply) and decoded pixels turned upright as PreparePhoto turns them.
// A turned HEIF file gets its irot property (and, as phones write it, an EXIF item) spliced in,
// a turned WebP file an EXIF chunk.
#include "imaging/containerinfo.h"
#include "imaging/decode.h"
#include "imaging/generaldecoder.h"
#include "imaging/geometry.h"
#include "imaging/heifdecoder.h"
#include "imaging/imageinfo.h"
#include "imaging/picture.h"
#include "imaging/webpdecoder.h"
#include "tests/imaging/headerbytes.h"
#include "tests/imaging/testpictures.h"
#include "tests/support/testsupport.h"

#include <QBuffer>
#include <QTemporaryDir>

#include <Magick++.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <utility>
#include <vector>

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

// A box: big-endian size, type, payload.
QByteArray Box(const char* type, const QByteArray& payload)
{
    QByteArray box(4, '\0');
    AddBe(box, 0, 4, quint32(8 + payload.size()));
    return box + type + payload;
}

QByteArray BigEndian(quint32 value, int width)
{
    QByteArray bytes(width, '\0');
    AddBe(bytes, 0, width, value);
    return bytes;
}

// irot: counter-clockwise quarter turns.
QByteArray Rotation(int quarterTurns)
{
    return Box("irot", QByteArray(1, char(quarterTurns)));
}

// clap: a clean aperture of width x height pixels around the centre.
QByteArray CleanAperture(int width, int height)
{
    QByteArray payload;
    for (const quint32 value : { quint32(width), 1u, quint32(height), 1u, 0u, 1u, 0u, 1u })
        payload += BigEndian(value, 4);
    return Box("clap", payload);
}

// Where the boxes of a HEIF file that libheif wrote are; meta.at < 0 when it has none.
struct HeifLayout {
    BoxAt meta, pitm, iloc, iinf, iref, iprp, ipco, ipma;
    quint32 primary = 0;
};

HeifLayout FindHeifLayout(const QByteArray& file)
{
    HeifLayout layout;
    layout.meta = Child(file, 0, int(file.size()), "meta");
    const int begin = layout.meta.at + 12, end = layout.meta.at + layout.meta.size;
    if (layout.meta.at < 0)
        return layout;
    layout.pitm = Child(file, begin, end, "pitm");
    layout.iloc = Child(file, begin, end, "iloc");
    layout.iinf = Child(file, begin, end, "iinf");
    layout.iref = Child(file, begin, end, "iref");
    layout.iprp = Child(file, begin, end, "iprp");
    layout.ipco = Child(file, layout.iprp.at + 8, layout.iprp.at + layout.iprp.size, "ipco");
    layout.ipma = Child(file, layout.iprp.at + 8, layout.iprp.at + layout.iprp.size, "ipma");
    if (layout.pitm.at < 0 || layout.iloc.at < 0 || layout.iinf.at < 0 || layout.iprp.at < 0 || layout.ipco.at < 0
        || layout.ipma.at < 0)
        layout.meta = {};
    else
        layout.primary = Be(file, layout.pitm.at + 12, 2);
    return layout;
}

// iloc's field widths.
struct IlocFormat {
    int version, offsetSize, lengthSize, baseSize, indexSize, idSize;
};

IlocFormat IlocFormatOf(const QByteArray& file, const BoxAt& iloc)
{
    const int version = uchar(file[iloc.at + 8]), sizes = uchar(file[iloc.at + 12]) << 8 | uchar(file[iloc.at + 13]);
    return { version, sizes >> 12, sizes >> 8 & 15, sizes >> 4 & 15, version >= 1 ? sizes & 15 : 0,
        version < 2 ? 2 : 4 };
}

// Moves the offsets of item data stored in the file (construction method 0) by delta.
void MoveItemData(QByteArray& file, const BoxAt& iloc, quint32 delta)
{
    const IlocFormat f = IlocFormatOf(file, iloc);
    int p = iloc.at + 14;
    const quint32 items = Be(file, p, f.idSize);
    p += f.idSize;
    for (quint32 item = 0; item < items; ++item) {
        p += f.idSize;
        const bool inFile = f.version == 0 || (Be(file, p, 2) & 15) == 0;
        p += f.version >= 1 ? 4 : 2;
        const bool moveBase = inFile && f.baseSize > 0;
        if (moveBase)
            AddBe(file, p, f.baseSize, delta);
        p += f.baseSize;
        const quint32 extents = Be(file, p, 2);
        p += 2;
        for (quint32 extent = 0; extent < extents; ++extent) {
            p += f.indexSize;
            if (inFile && !moveBase)
                AddBe(file, p, f.offsetSize, delta);
            p += f.offsetSize + f.lengthSize;
        }
    }
}

// Inserts bytes inside meta (each pair: where, in the original file, and what), growing meta
// and the listed boxes by what goes into them and moving the item data behind meta.
QByteArray InsertIntoMeta(QByteArray file, const HeifLayout& layout, std::vector<std::pair<int, QByteArray>> inserts,
    const std::vector<std::pair<BoxAt, int>>& grown)
{
    quint32 total = 0;
    for (const auto& insert : inserts)
        total += quint32(insert.second.size());
    MoveItemData(file, layout.iloc, total);
    AddBe(file, layout.meta.at, 4, total);
    for (const auto& [box, growth] : grown)
        AddBe(file, box.at, 4, quint32(growth));
    std::sort(inserts.begin(), inserts.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
    for (const auto& [at, bytes] : inserts)
        file.insert(at, bytes);
    return file;
}

// The HEIF file libheif wrote, with the property associated with its primary item after the
// ones it has (ipma version 0 with 8-bit indices, as libheif writes it). Empty when the file
// is not laid out so.
QByteArray WithHeifProperty(QByteArray file, const QByteArray& property)
{
    const HeifLayout layout = FindHeifLayout(file);
    if (layout.meta.at < 0 || Be(file, layout.ipma.at + 8, 4) != 0)
        return {};
    const int properties = ChildCount(file, layout.ipco.at + 8, layout.ipco.at + layout.ipco.size);
    int countAt = -1, insertAt = -1;
    for (quint32 entry = 0, at = quint32(layout.ipma.at) + 16; entry < Be(file, layout.ipma.at + 12, 4); ++entry) {
        const int count = uchar(file[at + 2]);
        if (Be(file, int(at), 2) == layout.primary) {
            countAt = int(at) + 2;
            insertAt = int(at) + 3 + count;
        }
        at += 3 + quint32(count);
    }
    if (countAt < 0)
        return {};
    file[countAt] = char(file[countAt] + 1);
    return InsertIntoMeta(file, layout,
        { { layout.ipco.at + layout.ipco.size, property }, { insertAt, QByteArray(1, char(0x80 | (properties + 1))) } },
        { { layout.iprp, int(property.size()) + 1 }, { layout.ipco, int(property.size()) }, { layout.ipma, 1 } });
}

// The HEIF file with an EXIF block describing its primary item, the way phones store one: an
// Exif item (its infe entry, its iloc extent in a new mdat box at the end, a cdsc reference to
// the primary item). Empty when the file is not laid out as libheif writes it.
QByteArray WithHeifExif(QByteArray file, const QByteArray& tiff)
{
    const HeifLayout layout = FindHeifLayout(file);
    if (layout.meta.at < 0 || uchar(file[layout.iinf.at + 8]) != 0)
        return {};
    const IlocFormat f = IlocFormatOf(file, layout.iloc);
    if (f.offsetSize != 4 || f.lengthSize != 4)
        return {};
    constexpr quint32 kExifItem = 100;
    const QByteArray payload = BigEndian(0, 4) + tiff; // the TIFF header's offset, then the block
    const QByteArray infe = Box(
        "infe", BigEndian(0x02000000, 4) + BigEndian(kExifItem, 2) + BigEndian(0, 2) + "Exif" + QByteArray(1, '\0'));
    const QByteArray cdsc = Box("cdsc", BigEndian(kExifItem, 2) + BigEndian(1, 2) + BigEndian(layout.primary, 2));
    const QByteArray reference = layout.iref.at < 0 ? Box("iref", BigEndian(0, 4) + cdsc) : cdsc;
    QByteArray location = BigEndian(kExifItem, f.idSize) + BigEndian(0, f.version >= 1 ? 4 : 2)
        + BigEndian(0, f.baseSize) + BigEndian(1, 2) + BigEndian(0, f.indexSize);
    const quint32 growth = quint32(infe.size() + location.size() + 8 + reference.size());
    location += BigEndian(quint32(file.size()) + growth + 8, 4) + BigEndian(quint32(payload.size()), 4);

    AddBe(file, layout.iinf.at + 12, 2, 1);
    AddBe(file, layout.iloc.at + 14, f.idSize, 1);
    std::vector<std::pair<BoxAt, int>> grown { { layout.iinf, int(infe.size()) },
        { layout.iloc, int(location.size()) } };
    if (layout.iref.at >= 0)
        grown.push_back({ layout.iref, int(cdsc.size()) });
    const int referenceAt = layout.iref.at >= 0 ? layout.iref.at + layout.iref.size : layout.meta.at + layout.meta.size;
    file = InsertIntoMeta(file, layout,
        { { layout.iinf.at + layout.iinf.size, infe }, { layout.iloc.at + layout.iloc.size, location },
            { referenceAt, reference } },
        grown);
    return file + Box("mdat", payload);
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
    // What a phone writes: the turn as irot and the same turn again as EXIF orientation 6.
    const QByteArray phone
        = WithHeifExif(WithHeifProperty(heic, Rotation(3)), headerbytes::Tiff(false, { { { 274, 3, 6 } } }));
    Magick::Image withExif;
    withExif.ping(Magick::Blob(phone.constData(), std::size_t(phone.size())));
    EXPECT_GT(withExif.profile("EXIF").length(), 0u) << "the EXIF item is readable";
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
        { "phone.HEIC", phone, kKindHeif, 1, portrait, "tr" },
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

// HEIF and AVIF decoded by libheif directly give ImageMagick's pixels byte for byte: a noisy
// picture of odd size, as stored, turned, mirrored and cropped.
TEST(PhoneFormats, DirectHeifDecodingGivesTheGeneralDecodersPixels)
{
    const QImage noise = RandomPicture(333, 217, 5);
    QImage scene(noise.size(), QImage::Format_RGB32);
    for (int y = 0; y < scene.height(); ++y)
        for (int x = 0; x < scene.width(); ++x) {
            const QRgb n = noise.pixel(x, y);
            scene.setPixel(x, y, qRgb((x + (qRed(n) & 31)) & 255, (2 * y + (qGreen(n) & 31)) & 255, qBlue(n)));
        }
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    scene.save(&buffer, "PNG");
    const Magick::Image picture(Magick::Blob(png.constData(), std::size_t(png.size())));
    const QByteArray mirror = Box("imir", QByteArray(1, '\1'));
    QTemporaryDir dir;
    for (const char* coder : { "HEIC", "AVIF" }) {
        const QByteArray stored = Encode(picture, coder);
        const struct {
            const char* name;
            QByteArray bytes;
        } cases[] = {
            { "stored", stored },
            { "quarter", WithHeifProperty(stored, Rotation(3)) },
            { "half", WithHeifProperty(stored, Rotation(2)) },
            { "mirrored", WithHeifProperty(stored, mirror) },
            { "cropped, turned", WithHeifProperty(WithHeifProperty(stored, CleanAperture(201, 99)), Rotation(1)) },
        };
        for (const auto& c : cases) {
            const QString path = dir.filePath(QStringLiteral("%1.%2").arg(QLatin1String(c.name), QLatin1String(coder)));
            SCOPED_TRACE(path.toStdString());
            ASSERT_TRUE(WriteFileBytes(path, c.bytes));
            QImage direct, general;
            ASSERT_TRUE(DecodeHeifDirectly(path, direct));
            ASSERT_TRUE(DecodeWithGeneralDecoder(path, general));
            EXPECT_EQ(direct.size(), general.size());
            EXPECT_TRUE(direct == general);
        }
    }
}

// Opaque WebP files, lossy and lossless, decoded by libwebp directly give ImageMagick's pixels
// byte for byte; one with an alpha channel is left to ImageMagick, which lays it on white.
TEST(PhoneFormats, DirectWebpDecodingGivesTheGeneralDecodersPixels)
{
    Magick::Image picture(Magick::Geometry(333, 217), Magick::Color("grey50"));
    picture.addNoise(Magick::GaussianNoise);
    Magick::Image lossless = picture;
    lossless.defineValue("webp", "lossless", "true");
    Magick::Image transparent = picture;
    transparent.matte(true);
    transparent.opacity(32768); // half of the 16-bit range
    const struct {
        const char* name;
        QByteArray bytes;
        bool direct;
    } cases[] = {
        { "lossy.webp", Encode(picture, "WEBP"), true },
        { "lossless.webp", Encode(lossless, "WEBP"), true },
        { "alpha.webp", Encode(transparent, "WEBP"), false },
    };
    QTemporaryDir dir;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = dir.filePath(QLatin1String(c.name));
        ASSERT_TRUE(WriteFileBytes(path, c.bytes));
        QImage direct, general;
        ASSERT_EQ(DecodeWebpDirectly(path, direct), c.direct);
        ASSERT_TRUE(DecodeWithGeneralDecoder(path, general));
        if (c.direct) {
            EXPECT_TRUE(direct == general);
        }
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
