#include "lab/md5.h"
#include "lab/sdbmhash.h"
#include "lab/stamp.h"

#include "tests/support/testsupport.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(MD5Hex, HashesWindows1250Bytes)
{
    EXPECT_EQ(MD5Hex(""), "d41d8cd98f00b204e9800998ecf8427e");
    EXPECT_EQ(MD5Hex("abc"), "900150983cd24fb0d6963f7d28e17f72");
    // "ł" is the single byte 0xB3: md5(b"\xb3").
    EXPECT_EQ(MD5Hex(QStringLiteral(u"ł")), "ec87210973d57b582945cafc5fd5dd63");
    EXPECT_EQ(MD5Hex(QString(2000, u'a')).size(), 32);
}

TEST(TSDBMHash, KnownValues)
{
    const struct {
        const char16_t* text;
        const char* hash;
    } cases[] = { { u"", "00000000" }, { u"a", "00000061" }, { u"ab", "00611841" }, { u"ł", "000000B3" },
        // wraps in 32 bits and clears the top bit
        { u"order-2007-03-14", "79C21644" } };
    for (const auto& c : cases) {
        TSDBMHash hash;
        hash.AddText(QString::fromUtf16(c.text));
        EXPECT_EQ(hash.HashText(), c.hash) << QString::fromUtf16(c.text).toStdString();
    }
    TSDBMHash hash;
    hash.AddText("a");
    hash.Reset();
    EXPECT_EQ(hash.GetValue(), 0u);
    THashClass base;
    base.AddText("abc");
    EXPECT_EQ(base.HashText(), "00000000");
}

TEST(ComputeStamp, CountsValuesOnly)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("engine.ini");
    ASSERT_TRUE(WriteFileBytes(path, "[main]\r\nname=Foto\r\nprice= 12 \r\n[digitalstamp]\r\nstamp=abc\r\n"));
    const QString stamp = ComputeStamp(path);
    EXPECT_EQ(stamp, MD5Hex("vdFoto12db915706"));

    // Comments, blank lines, headers, spaces around "=", key names, LF line ends and other
    // "stamp" values leave the stamp alone.
    const QByteArray same[] = {
        "; comment\n\n[other]\nNAME  =  Foto\n   \nprice=12\n[x]\nstamp=zzz\n",
        "name=Foto\r\nprice=12",
        "a=Foto\rb=12\r",
    };
    for (const QByteArray& text : same) {
        ASSERT_TRUE(WriteFileBytes(path, text));
        EXPECT_EQ(ComputeStamp(path), stamp) << text.constData();
    }
    // Changing or swapping values changes it; "Stamp" is not "stamp".
    for (const QByteArray& text : { QByteArray("name=Fotp\nprice=12\n"), QByteArray("price=12\nname=Foto\n"),
             QByteArray("name=Foto\nprice=12\nStamp=x\n") }) {
        ASSERT_TRUE(WriteFileBytes(path, text));
        EXPECT_NE(ComputeStamp(path), stamp) << text.constData();
    }
    // Values are hashed as their raw bytes, whatever the code page leaves undefined.
    ASSERT_TRUE(WriteFileBytes(path, "k=\x81\xB3\n"));
    EXPECT_EQ(ComputeStamp(path), "41b81185e3b1492fe9209fc4ceb43800");
    EXPECT_EQ(ComputeStamp(dir.filePath("missing.ini")), "");
}
