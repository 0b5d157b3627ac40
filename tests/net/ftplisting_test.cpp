#include "net/ftplisting.h"

#include "tests/support/testsupport.h"

#include <gtest/gtest.h>

namespace {

using Kind = TFtpItemKind;

struct LineCase {
    const char* line;
    std::optional<TFtpListItem> item;
};

void PrintTo(const LineCase& c, std::ostream* os)
{
    *os << c.line;
}

TFtpListItem File(const char* name, qint64 size)
{
    return { QString::fromUtf8(name), Kind::File, size };
}

TFtpListItem Dir(const char* name)
{
    return { QString::fromUtf8(name), Kind::Directory, -1 };
}

class MlsdLine : public testing::TestWithParam<LineCase> { };

TEST_P(MlsdLine, GivesItsItem)
{
    EXPECT_EQ(ParseMlsdLine(GetParam().line, true), GetParam().item);
}

INSTANTIATE_TEST_SUITE_P(Facts, MlsdLine,
    testing::Values(LineCase { "type=file;size=1234;modify=20240131091500; a.jpg\r\n", File("a.jpg", 1234) },
        LineCase { "Type=FILE;Size=5368709120; big order.zip", File("big order.zip", 5368709120) },
        LineCase { "size=12;type=dir;perm=el; zdjęcia", Dir("zdjęcia") },
        LineCase { "type=file; no size.txt", File("no size.txt", -1) },
        LineCase { "type=file;size=99999999999999999999; huge", File("huge", -1) }, // beyond 64 bits
        LineCase { "type=OS.unix=slink:/etc; link", TFtpListItem { "link", Kind::Other, -1 } },
        LineCase { "type=file;size=1; semi;colon name ", File("semi;colon name ", 1) },
        LineCase { "type=cdir;perm=el; /orders", std::nullopt }, LineCase { "type=pdir; ..", std::nullopt },
        LineCase { "type=file;size=3; ../../etc/passwd", std::nullopt },
        LineCase { "type=file;size=3; a\\b", std::nullopt }, LineCase { "type=file;size=3; ..", std::nullopt },
        LineCase { "type=file;size=3; ", std::nullopt }, LineCase { "size=3; no type", std::nullopt },
        LineCase { "type=file;size=3;nospace", std::nullopt }));

class ListLine : public testing::TestWithParam<LineCase> { };

TEST_P(ListLine, GivesItsItem)
{
    EXPECT_EQ(ParseListLine(GetParam().line, true), GetParam().item);
}

INSTANTIATE_TEST_SUITE_P(UnixStyle, ListLine,
    testing::Values(LineCase { "-rw-r--r--   1 lab      lab          5000 Dec 10 08:13 a_00001.jpg\r\n",
                        File("a_00001.jpg", 5000) },
        LineCase { "-rw-r--r--   1 lab      lab    5368709120 Jan  1  2024 big.zip", File("big.zip", 5368709120) },
        LineCase { "-rw-r--r-- 1 owner 77 Feb 29 2024 no group.txt", File("no group.txt", 77) },
        LineCase { "-rw-r--r--   1 lab lab 12 Mar 03 12:00  leading space", File(" leading space", 12) },
        LineCase { "drwxr-xr-x   2 lab      lab          4096 Dec 10 08:13 orders",
            TFtpListItem { "orders", Kind::Directory, 4096 } },
        LineCase { "lrwxrwxrwx   1 lab lab 7 Dec 10 08:13 last -> a.jpg", TFtpListItem { "last", Kind::Other, 7 } },
        LineCase { "-rw-r--r--   1 lab lab 12 Dec 10 08:13 Żółw.jpg", File("Żółw.jpg", 12) },
        LineCase { "total 48", std::nullopt }, LineCase { "drwxr-xr-x   2 lab lab 4096 Dec 10 08:13 .", std::nullopt },
        LineCase { "drwxr-xr-x   2 lab lab 4096 Dec 10 08:13 ..", std::nullopt },
        LineCase { "-rw-r--r--   1 lab lab 12 Dec 10 08:13 x/../../y", std::nullopt },
        LineCase { "-rw-r--r--   1 lab lab 1x2 Dec 10 08:13 bad size", std::nullopt },
        LineCase { "-rw-r--r--   1 lab lab 12 Dec 10 08:13", std::nullopt },
        LineCase { "xrw-r--r--   1 lab lab 12 Dec 10 08:13 odd type", std::nullopt }));

INSTANTIATE_TEST_SUITE_P(DosStyle, ListLine,
    testing::Values(LineCase { "01-31-24  09:15AM                 5000 a_00001.jpg", File("a_00001.jpg", 5000) },
        LineCase { "01-31-2024  21:15       5368709120 big order.zip", File("big order.zip", 5368709120) },
        LineCase { "12/10/26  08:13PM       <DIR>          photos", Dir("photos") },
        LineCase { "01-31-24  09:15AM       <DIR>          ..", std::nullopt },
        LineCase { "01-31-24  09:15AM                 12 a\\b.jpg", std::nullopt },
        LineCase { "01-31-24  25h15                   12 bad time", std::nullopt },
        LineCase { "01-31-24  09:15AM                 -1 negative", std::nullopt }));

TEST(FtpListing, ReadsWholeListingsOfEitherKind)
{
    const QByteArray mlsd = "type=cdir;perm=el; .\r\ntype=file;size=10; a.jpg\r\ngarbage\r\n"
                            "type=dir; sub\r\ntype=file;size=20; b.txt"; // no line end after the last one
    EXPECT_EQ(ParseFtpListing(mlsd, TFtpListingKind::Mlsd, true),
        (QList<TFtpListItem> { File("a.jpg", 10), Dir("sub"), File("b.txt", 20) }));

    const QByteArray list = "total 2\n-rw-r--r-- 1 u g 10 Dec 10 08:13 a.jpg\n"
                            "01-31-24  09:15AM       <DIR>          sub\n\n";
    EXPECT_EQ(
        ParseFtpListing(list, TFtpListingKind::List, true), (QList<TFtpListItem> { File("a.jpg", 10), Dir("sub") }));
}

// Without UTF8 in FEAT, names are Windows-1250 bytes.
TEST(FtpListing, NamesOfServersWithoutUtf8AreWindows1250)
{
    const QByteArray line = "type=file;size=1; \xBF\xF3\xB3w.jpg"; // "żółw.jpg"
    EXPECT_EQ(ParseMlsdLine(line, false)->name, QStringLiteral("żółw.jpg"));
    EXPECT_EQ(ParseMlsdLine("type=file;size=1; a\x01.jpg", false), std::nullopt); // a control character
}

} // namespace
