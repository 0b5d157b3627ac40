#include "platform/inifile.h"

#include "tests/support/testsupport.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

struct IniFixture : ::testing::Test {
    QTemporaryDir dir;
    QString path = dir.filePath("t.ini");
    void Write(const QByteArray& text) { ASSERT_TRUE(WriteFileBytes(path, text)); }
};

} // namespace

TEST_F(IniFixture, ReadsWithPrivateProfileRules)
{
    Write("; leading comment\r\n"
          "orphan=before any section\r\n"
          "[Main]\r\n"
          "  Name  =  Foto Lab  \r\n"
          "name=second occurrence\r\n"
          ";hidden=1\r\n"
          "num= 42 \r\n"
          "hex=0x1F\r\n"
          "bad=12abc\r\n"
          "quoted=\"a b\"\r\n"
          "colour=255,,\n"
          "nbsp=\xA0kept\xA0\r\n"
          "[main]\r\n"
          "extra=in the duplicate section\r\n"
          "[Other]\r\n"
          "flag=2\r\n");
    const TIniFile ini(path);
    EXPECT_TRUE(ini.FileExisted());
    EXPECT_EQ(ini.ReadString("MAIN", "name", "x"), "Foto Lab");
    EXPECT_EQ(ini.ReadString("main", "hidden", "d"), "d");
    EXPECT_EQ(ini.ReadString("main", "orphan", "d"), "d");
    EXPECT_EQ(ini.ReadString("main", "extra", "d"), "d");
    EXPECT_EQ(ini.ReadString("main", "quoted", ""), "a b");
    EXPECT_EQ(ini.ReadString("main", "colour", ""), "255,,");
    // Only spaces and control characters are trimmed; a no-break space is part of the value.
    EXPECT_EQ(ini.ReadString("main", "nbsp", ""), QStringLiteral(u"\u00A0kept\u00A0"));
    EXPECT_EQ(ini.ReadInteger("main", "num", 7), 42);
    EXPECT_EQ(ini.ReadInteger("main", "hex", 7), 31);
    EXPECT_EQ(ini.ReadInteger("main", "bad", 7), 7);
    EXPECT_EQ(ini.ReadInteger("main", "missing", 7), 7);
    EXPECT_TRUE(ini.ReadBool("other", "flag", false));
    EXPECT_FALSE(ini.ReadBool("other", "nope", false));
    EXPECT_EQ(ini.ReadSection("main"), QStringList({ "Name", "num", "hex", "bad", "quoted", "colour", "nbsp" }));
    EXPECT_EQ(ini.ReadSections(), QStringList({ "Main", "Other" }));
}

TEST_F(IniFixture, IntegerParsing)
{
    const struct {
        const char* text;
        bool ok;
        int value;
    } cases[] = { { "0", true, 0 }, { "-5", true, -5 }, { "+5", true, 5 }, { "$ff", true, 255 },
        { "2147483647", true, INT32_MAX }, { "-2147483648", true, INT32_MIN }, { "2147483648", false, 0 },
        { "", false, 0 }, { "abc", false, 0 }, { "1.5", false, 0 }, { "0x", false, 0 }, { "$FFFFFFFF", true, -1 },
        { "-2147483649", false, 0 }, { "-9223372036854775808", false, 0 }, { "9223372036854775808", false, 0 },
        { "-18446744073709551615", false, 0 }, { "-$80000000", true, INT32_MIN }, { "-$80000001", false, 0 } };
    for (const auto& c : cases) {
        int v = 0;
        EXPECT_EQ(ParseIniInteger(QString::fromLatin1(c.text), v), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(v, c.value) << c.text;
        }
    }
}

TEST_F(IniFixture, WritingOneKeyKeepsEveryOtherLine)
{
    Write("; lab settings\r\n[a]\r\nx=1\r\n; note\r\ny=2\r\n\r\n[b]\r\nz=3\r\n");
    TIniFile ini(path);
    ASSERT_TRUE(ini.WriteString("A", "Y", QStringLiteral(u"zażółć")));
    ASSERT_TRUE(ini.WriteInteger("a", "new", 5));
    ASSERT_TRUE(ini.WriteBool("c", "flag", true));
    EXPECT_EQ(ReadFileBytes(path),
        QByteArray("; lab settings\r\n[a]\r\nx=1\r\n; note\r\nY=za\xBF\xF3\xB3\xE6\r\nnew=5\r\n"
                   "\r\n[b]\r\nz=3\r\n[c]\r\nflag=1\r\n"));
    EXPECT_EQ(TIniFile(path).ReadString("a", "y", ""), QStringLiteral(u"zażółć"));
}

TEST_F(IniFixture, SetKeysReachTheFileOnlyThroughUpdateFile)
{
    Write("[a]\r\nx=1\r\n");
    TIniFile ini(path);
    ini.SetString("a", "x", "2");
    ini.SetInteger("b", "n", -3);
    ini.SetBool("b", "f", false);
    EXPECT_EQ(ini.ReadString("a", "x", ""), "2");
    EXPECT_EQ(ReadFileBytes(path), QByteArray("[a]\r\nx=1\r\n"));
    ASSERT_TRUE(ini.UpdateFile());
    EXPECT_EQ(ReadFileBytes(path), QByteArray("[a]\r\nx=2\r\n[b]\r\nn=-3\r\nf=0\r\n"));
}

TEST_F(IniFixture, PrivateFilesAreOwnerOnly)
{
    TIniFile ini(path, TIniFile::Access::Private);
    ASSERT_TRUE(ini.WriteString("net", "proxy_pass", "secret"));
    struct stat st { };
    ASSERT_EQ(stat(QFile::encodeName(path).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
}

TEST_F(IniFixture, MissingFileReadsDefaultsAndUnwritableFolderFails)
{
    TIniFile missing(dir.filePath("none.ini"));
    EXPECT_FALSE(missing.FileExisted());
    EXPECT_EQ(missing.ReadString("s", "k", "def"), "def");
    TIniFile unwritable(dir.filePath("no/such/folder/x.ini"));
    EXPECT_FALSE(unwritable.WriteString("s", "k", "v"));
}
