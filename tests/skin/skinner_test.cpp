#include "core/textutils.h"
#include "platform/binrecords.h"
#include "skin/ffbitmap.h"
#include "skin/skinbuilder.h"
#include "skin/skinner.h"
#include "skin/syscolors.h"
#include "tests/support/testsupport.h"

#include <QBuffer>
#include <QDir>

#include <gtest/gtest.h>

namespace {

// Writes skin files field by field, so that tests can build damaged ones too.
class SkinBytes {
public:
    SkinBytes() { buffer_.open(QIODevice::WriteOnly); }
    SkinBytes& Text(const QString& text)
    {
        WriteLenString(buffer_, text);
        return *this;
    }
    SkinBytes& List(const QStringList& list)
    {
        WriteStringList(buffer_, list);
        return *this;
    }
    SkinBytes& Int(qint32 value)
    {
        WriteInt32(buffer_, value);
        return *this;
    }
    SkinBytes& Raw(const QByteArray& bytes)
    {
        buffer_.write(bytes);
        return *this;
    }
    // A picture record: magic, byte count, width, height, then `pixels` bytes.
    SkinBytes& Picture(qint32 byteCount, qint32 width, qint32 height, qsizetype pixels)
    {
        Int(qint32(TFFBitmap::kMagic)).Int(byteCount);
        if (byteCount != 0)
            Int(width).Int(height).Raw(QByteArray(pixels, '\x40'));
        return *this;
    }
    SkinBytes& Head(const QString& colorHeader, const QStringList& colors)
    {
        return Text(QStringLiteral("VD: SkinFilev1")).Text(colorHeader).Text(QStringLiteral("s")).List(colors);
    }
    SkinBytes& Icons(const QStringList& names, qint32 transparent = 0)
    {
        return Text(QStringLiteral("VD: IconsSchemev1")).Int(0).Int(transparent).List(names);
    }
    SkinBytes& Images(const QStringList& names)
    {
        return Text(QStringLiteral("VD: ImagesSchemev1")).Int(0).List(names);
    }
    QByteArray Bytes() const { return buffer_.data(); }

private:
    QBuffer buffer_;
};

const QString kV2 = QStringLiteral("VD: ColorSchemeFilev2");
const QString kV1 = QStringLiteral("VD: ColorSchemeFile");

QByteArray SmallestSkin()
{
    return SkinBytes().Head(kV2, {}).Icons({}).Images({}).Bytes();
}

QByteArray SkinWithColors(const QString& header, const QStringList& colors)
{
    return SkinBytes().Head(header, colors).Icons({}).Images({}).Bytes();
}

class SkinnerFiles : public testing::Test {
protected:
    bool Load(const QByteArray& bytes)
    {
        const QString path = dir_.Path(QStringLiteral("test.vdskin"));
        EXPECT_TRUE(WriteFileBytes(path, bytes));
        return skinner_.LoadFromFile(path);
    }
    void ExpectDefaults()
    {
        TSkinner defaults;
        EXPECT_EQ(skinner_.ColorScheme(), defaults.ColorScheme());
        EXPECT_TRUE(skinner_.IconNames().isEmpty());
        EXPECT_TRUE(skinner_.ImageNames().isEmpty());
    }

    ScopedAppDir dir_;
    TSkinner skinner_;
};

} // namespace

TEST(Skinner, DefaultSchemeReadsBackAsTheDesktopColours)
{
    const TSkinner skinner;
    ASSERT_EQ(skinner.ColorScheme().size(), 10);
    EXPECT_EQ(skinner.ColorScheme()[0], QStringLiteral("background=240,240,240"));
    EXPECT_EQ(skinner.GetColor(QStringLiteral("background")), SysColor(TSysColor::BtnFace));
    EXPECT_EQ(skinner.GetColor(QStringLiteral("backgroundtext")), SysColor(TSysColor::Window));
    EXPECT_EQ(skinner.GetColor(QStringLiteral("border")), SysColor(TSysColor::WindowFrame));
    EXPECT_EQ(skinner.GetColor(QStringLiteral("selected")), SysColor(TSysColor::BtnShadow));
    EXPECT_EQ(skinner.GetColor(QStringLiteral("hot")), SysColor(TSysColor::HotLight));
    EXPECT_EQ(skinner.GetColor(QStringLiteral("text")), QColor(0, 0, 0));
    EXPECT_EQ(skinner.GetColor(QStringLiteral("selectedtext")), SysColor(TSysColor::HighlightText));
    EXPECT_EQ(skinner.GetColor(QStringLiteral("nosuchname")), SysColor(TSysColor::BtnFace));
}

TEST_F(SkinnerFiles, SmallestValidFileIs115BytesAndLeavesTheSchemeEmpty)
{
    const QByteArray bytes = SmallestSkin();
    ASSERT_EQ(bytes.size(), 115);
    EXPECT_TRUE(Load(bytes));
    EXPECT_TRUE(skinner_.ColorScheme().isEmpty());
    for (const char* name : kSkinColorNames)
        EXPECT_EQ(skinner_.GetColor(QLatin1String(name)), SysColor(TSysColor::BtnFace));
}

TEST_F(SkinnerFiles, Version2LinesAreKeptAsTheyAre)
{
    EXPECT_TRUE(Load(SkinWithColors(kV2,
        { QStringLiteral(" text = 255,, "), QStringLiteral("Hot=1,2,3"), QStringLiteral("border"),
            QStringLiteral("color=ff,80,00"), QStringLiteral("selected=1f,0,0"), QStringLiteral("text=0,0,255") })));
    EXPECT_EQ(skinner_.GetColor(QStringLiteral("text")), QColor(255, 0, 0)); // the first line wins
    EXPECT_EQ(skinner_.GetColor(QStringLiteral("hot")), SysColor(TSysColor::BtnFace)); // "Hot" is not "hot"
    EXPECT_EQ(skinner_.GetColor(QStringLiteral("border")), SysColor(TSysColor::BtnFace));
    EXPECT_EQ(skinner_.GetColor(QStringLiteral("color")), QColor(255, 80, 0));
    EXPECT_EQ(skinner_.GetColor(QStringLiteral("selected")), QColor(0, 0, 0));
}

TEST_F(SkinnerFiles, Version1NamesAreTranslated)
{
    EXPECT_TRUE(Load(SkinWithColors(kV1,
        { QStringLiteral("FontColor=10,20,30"), QStringLiteral("color = 1,2,3"), QStringLiteral("HotColor=4,5,6"),
            QStringLiteral("bordertopcolor=7,8,9"), QStringLiteral("borderbottomcolor=11,,"),
            QStringLiteral("backgroundcolor=,12,"), QStringLiteral("selectedcolor=,,13"),
            QStringLiteral("selectedfontcolor=14,14,14"), QStringLiteral("oldname=99,99,99") })));
    EXPECT_EQ(skinner_.GetColor(QStringLiteral("text")), QColor(10, 20, 30));
    EXPECT_EQ(skinner_.GetColor(QStringLiteral("border")), QColor(10, 20, 30));
    EXPECT_EQ(skinner_.GetColor(QStringLiteral("color")), QColor(1, 2, 3));
    EXPECT_EQ(skinner_.GetColor(QStringLiteral("backgroundtext")), QColor(1, 2, 3));
    EXPECT_EQ(skinner_.GetColor(QStringLiteral("hot")), QColor(4, 5, 6));
    EXPECT_EQ(skinner_.GetColor(QStringLiteral("bordertop")), QColor(7, 8, 9));
    EXPECT_EQ(skinner_.GetColor(QStringLiteral("borderbottom")), QColor(11, 0, 0));
    EXPECT_EQ(skinner_.GetColor(QStringLiteral("background")), QColor(0, 12, 0));
    EXPECT_EQ(skinner_.GetColor(QStringLiteral("selected")), QColor(0, 0, 13));
    EXPECT_EQ(skinner_.GetColor(QStringLiteral("selectedtext")), QColor(14, 14, 14));
    EXPECT_EQ(skinner_.ColorScheme().size(), 10); // "oldname" dropped
}

TEST_F(SkinnerFiles, PicturesAreFoundByLoweredNameAndCopiedAs24Bit)
{
    const QByteArray bytes
        = SkinBytes()
              .Head(kV2, { QStringLiteral("text=1,1,1") })
              .Icons({ QStringLiteral("bok"), QStringLiteral("BUpper"), QStringLiteral("bempty") }, 1)
              .Picture(2 * 3 * 3, 2, 3, 18)
              .Picture(3, 1, 1, 3)
              .Picture(0, 0, 0, 0)
              .Images({ QStringLiteral("isplash") })
              .Picture(4 * 1 * 3, 4, 1, 12)
              .Bytes();
    ASSERT_TRUE(Load(bytes));
    EXPECT_TRUE(skinner_.IconsTransparent());
    EXPECT_EQ(skinner_.IconIndex(QStringLiteral("BOK")), 0);
    EXPECT_EQ(skinner_.IconIndex(QStringLiteral("bupper")), -1); // stored with capitals: never found
    EXPECT_EQ(skinner_.IconIndex(QStringLiteral("BUpper")), -1);
    QImage picture;
    ASSERT_TRUE(skinner_.CopyIcon(QStringLiteral("bOK"), picture));
    EXPECT_EQ(picture.size(), QSize(2, 3));
    EXPECT_EQ(picture.format(), QImage::Format_BGR888);
    EXPECT_EQ(picture.pixelColor(1, 2), QColor(0x40, 0x40, 0x40));
    EXPECT_FALSE(skinner_.CopyIcon(QStringLiteral("bempty"), picture)); // empty: the control keeps its own
    EXPECT_FALSE(skinner_.CopyIcon(QStringLiteral("bmissing"), picture));
    EXPECT_TRUE(skinner_.CopyImage(QStringLiteral("ISPLASH"), picture));
    EXPECT_EQ(picture.size(), QSize(4, 1));
    EXPECT_THROW(skinner_.Icon(2).CopyTo24Bit(), EFFBitmap);
}

TEST_F(SkinnerFiles, DamagedFilesFailAsAWholeAndLeaveTheDefaults)
{
    const QStringList colors { QStringLiteral("text=255,,") };
    struct Case {
        const char* name;
        QByteArray bytes;
    };
    const Case cases[] = {
        { "wrong file header", SkinBytes().Text(QStringLiteral("VD: SkinFilev2")).Bytes() + SmallestSkin().mid(18) },
        { "wrong colour block header", SkinWithColors(QStringLiteral("VD: ColorSchemeFilev3"), colors) },
        { "empty scheme name",
            SkinBytes()
                .Text(QStringLiteral("VD: SkinFilev1"))
                .Text(kV2)
                .Int(0)
                .List(colors)
                .Icons({})
                .Images({})
                .Bytes() },
        { "ends after the colour block", SkinBytes().Head(kV2, colors).Bytes() },
        { "wrong icons header", SkinBytes().Head(kV2, colors).Text(QStringLiteral("VD: IconsSchemev2")).Bytes() },
        { "picture with a bad magic",
            SkinBytes().Head(kV2, colors).Icons({ QStringLiteral("a") }).Int(0x12345678).Int(0).Images({}).Bytes() },
        { "byte count above width x height x 3",
            SkinBytes().Head(kV2, colors).Icons({ QStringLiteral("a") }).Picture(30, 2, 2, 30).Images({}).Bytes() },
        { "byte count below width x height x 3",
            SkinBytes().Head(kV2, colors).Icons({ QStringLiteral("a") }).Picture(6, 2, 2, 6).Images({}).Bytes() },
        { "negative width",
            SkinBytes().Head(kV2, colors).Icons({ QStringLiteral("a") }).Picture(6, -2, -1, 6).Images({}).Bytes() },
        { "absurd size",
            SkinBytes()
                .Head(kV2, colors)
                .Icons({ QStringLiteral("a") })
                .Picture(3 * 100000 * 2, 100000, 2, 0)
                .Bytes() },
        { "pixels cut short",
            SkinBytes().Head(kV2, colors).Icons({}).Images({ QStringLiteral("i") }).Picture(12, 2, 2, 7).Bytes() },
        { "more names than pictures",
            SkinBytes()
                .Head(kV2, colors)
                .Icons({ QStringLiteral("a"), QStringLiteral("b") })
                .Picture(3, 1, 1, 3)
                .Bytes() },
        { "empty file", QByteArray() },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(Load(SkinWithColors(kV2, colors)));
        EXPECT_FALSE(Load(c.bytes));
        EXPECT_FALSE(skinner_.FileFacts().error.isEmpty());
        ExpectDefaults();
    }
}

TEST_F(SkinnerFiles, EveryTruncationOfAGoodFileFailsCleanly)
{
    const QByteArray bytes = SkinBytes()
                                 .Head(kV1, { QStringLiteral("color=1,2,3") })
                                 .Icons({ QStringLiteral("a"), QStringLiteral("b") }, 1)
                                 .Picture(12, 2, 2, 12)
                                 .Picture(0, 0, 0, 0)
                                 .Images({ QStringLiteral("c") })
                                 .Picture(3, 1, 1, 3)
                                 .Bytes();
    ASSERT_TRUE(Load(bytes));
    for (qsizetype length = 0; length < bytes.size(); ++length) {
        SCOPED_TRACE(length);
        EXPECT_FALSE(Load(bytes.left(length)));
        ExpectDefaults();
    }
    EXPECT_TRUE(Load(bytes + QByteArray("trailing bytes are ignored")));
}

TEST_F(SkinnerFiles, AFileThatCannotBeOpenedLeavesTheEngineAsItWas)
{
    ASSERT_TRUE(Load(SkinWithColors(kV2, { QStringLiteral("text=1,2,3") })));
    EXPECT_FALSE(skinner_.LoadFromFile(dir_.Path(QStringLiteral("missing.vdskin"))));
    EXPECT_FALSE(skinner_.LoadFromFile(QString()));
    EXPECT_EQ(skinner_.GetColor(QStringLiteral("text")), QColor(1, 2, 3));
}

TEST_F(SkinnerFiles, BuiltFromASourceFolderAndReadBack)
{
    const QString folder = dir_.Path(QStringLiteral("src/Proba"));
    ASSERT_TRUE(WriteFileBytes(
        folder + QStringLiteral("/colors.txt"), "# comment\n; comment\ncolor=100,100,100\n\ntext=ff,,\r\n"));
    QImage icon(4, 4, QImage::Format_ARGB32);
    icon.fill(Qt::transparent);
    icon.setPixelColor(1, 1, QColor(10, 20, 30));
    icon.setPixelColor(2, 1, QColor(200, 200, 200, 128)); // half see-through: laid over "color"
    QDir().mkpath(folder + QStringLiteral("/icons"));
    ASSERT_TRUE(icon.save(folder + QStringLiteral("/icons/BOK.png")));
    QImage image(3, 2, QImage::Format_RGB32);
    image.fill(QColor(1, 2, 3));
    QDir().mkpath(folder + QStringLiteral("/images"));
    ASSERT_TRUE(image.save(folder + QStringLiteral("/images/isplash.png")));

    TSkinSource source;
    QString error;
    ASSERT_TRUE(ReadSkinSource(folder, source, error)) << error.toStdString();
    const QString path = dir_.Path(QStringLiteral("proba.vdskin"));
    ASSERT_TRUE(WriteSkinFile(path, source, error)) << error.toStdString();
    ASSERT_TRUE(skinner_.LoadFromFile(path));
    EXPECT_EQ(skinner_.FileFacts().schemeName, QStringLiteral("Proba"));
    EXPECT_EQ(skinner_.FileFacts().colorBlockHeader, kV2);
    EXPECT_EQ(skinner_.GetColor(QStringLiteral("text")), QColor(255, 0, 0));
    EXPECT_TRUE(skinner_.IconsTransparent());
    QImage read;
    ASSERT_TRUE(skinner_.CopyIcon(QStringLiteral("bok"), read));
    EXPECT_EQ(read.pixelColor(0, 3), QColor(255, 0, 255)); // key colour in the bottom-left corner
    EXPECT_EQ(read.pixelColor(1, 1), QColor(10, 20, 30));
    EXPECT_EQ(read.pixelColor(2, 1), QColor(150, 150, 150));
    ASSERT_TRUE(skinner_.CopyImage(QStringLiteral("isplash"), read));
    EXPECT_EQ(read.pixelColor(2, 1), QColor(1, 2, 3));
}

TEST_F(SkinnerFiles, SourceFolderMistakesAreNamed)
{
    const QString folder = dir_.Path(QStringLiteral("src/bad"));
    struct Case {
        QByteArray colors;
        const char* expected;
    };
    const Case cases[] = {
        { "colour=1,2,3\n", "unknown colour name" },
        { "text=1,2\n", "is not a colour" },
        { "text=256,0,0\n", "is not a colour" },
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(WriteFileBytes(folder + QStringLiteral("/colors.txt"), c.colors));
        TSkinSource source;
        QString error;
        EXPECT_FALSE(ReadSkinSource(folder, source, error));
        EXPECT_TRUE(error.contains(QLatin1String(c.expected))) << error.toStdString();
    }
    ASSERT_TRUE(WriteFileBytes(folder + QStringLiteral("/colors.txt"), "text=1,2,3\n"));
    QImage icon(4, 4, QImage::Format_ARGB32);
    icon.fill(QColor(0, 0, 0));
    icon.setPixelColor(3, 0, Qt::transparent);
    QDir().mkpath(folder + QStringLiteral("/icons"));
    ASSERT_TRUE(icon.save(folder + QStringLiteral("/icons/b.png")));
    TSkinSource source;
    QString error;
    EXPECT_FALSE(ReadSkinSource(folder, source, error));
    EXPECT_TRUE(error.contains(QLatin1String("bottom-left"))) << error.toStdString();
}

TEST(SkinnerBuild, TheProgramsSkinsLoad)
{
    for (const char* name : { "domyslna", "grafit", "morska" }) {
        SCOPED_TRACE(name);
        TSkinner skinner;
        ASSERT_TRUE(skinner.LoadFromFile(QStringLiteral(VENDARO_SKIN_DIR "/%1.vdskin").arg(QLatin1String(name))))
            << skinner.FileFacts().error.toStdString();
        EXPECT_EQ(skinner.ColorScheme().size(), 10);
        EXPECT_GE(skinner.IconIndex(QStringLiteral("byes")), 0);
        EXPECT_GE(skinner.IconIndex(QStringLiteral("tp_newproject")), 0);
        EXPECT_GE(skinner.ImageIndex(QStringLiteral("iquestion")), 0);
    }
}
