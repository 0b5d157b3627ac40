// The account ID rule, the manifest's keys and quota, and which passwords open an account.
#include "account/accountmanifest.h"

#include "platform/cp1250.h"
#include "tests/support/testsupport.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

TEST(AccountId, OnlyEightLettersOrDigitsAfterTrimmingAndUpperCasing)
{
    const struct {
        const char16_t* typed;
        const char16_t* normalized;
        bool valid;
    } cases[] = {
        { u"ab12cd34 ", u"AB12CD34", true },
        { u"\t DEMO2024\r\n", u"DEMO2024", true },
        { u"AB12CD3", u"AB12CD3", false }, // 7
        { u"AB12CD345", u"AB12CD345", false }, // 9
        { u"../ABCDE", u"../ABCDE", false }, // 8 characters, a folder of its own
        { u"..\\ABCDE", u"..\\ABCDE", false },
        { u"AB12 D34", u"AB12 D34", false },
        { u"źb12cd34", u"ŹB12CD34", false }, // a letter, but not A-Z
        { u"", u"", false },
    };
    for (const auto& c : cases) {
        const QString id = NormalizeAccountId(QString::fromUtf16(c.typed));
        EXPECT_EQ(id, QString::fromUtf16(c.normalized));
        EXPECT_EQ(IsValidAccountId(id), c.valid) << id.toStdString();
    }
}

// Every name a server may take for the manifest: on Windows letter case, trailing dots and
// spaces and the 8.3 alias all name the same file.
TEST(AccountManifest, NamesTheServerMayTakeForTheManifest)
{
    const struct {
        const char* name;
        bool manifest;
    } cases[] = {
        { "account_manifest.vds", true },
        { "Account_Manifest.VDS", true },
        { "ACCOUNT_MANIFEST.VDS", true },
        { "account_manifest.vds.", true },
        { "account_manifest.vds . ", true },
        { " account_manifest.vds", true },
        { "ACCOUN~1.VDS", true },
        { "accoun~12.vds", true },
        { "account_manifest.vds.txt", false },
        { "account_manifest.vd", false },
        { "my_account_manifest.vds", false },
        { "accoun~.vds", false },
        { "am.vds", false },
        { "", false },
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsAccountManifestName(QString::fromUtf8(c.name)), c.manifest) << c.name;
}

TEST(AccountManifest, KeysInAnyCaseAllFourNeededAndTheQuotaIn64Bits)
{
    const QString pass = QStringLiteral("334c4a4c42fdb79d7ebc3e73b517e6f8"); // MD5 of "none"
    const struct {
        const char* text;
        TManifestStatus status;
        int64_t quota;
        const char* description;
    } cases[] = {
        { "id=AB12CD34\r\ndescr=Skany \r\nsize=50\r\npass=%1\r\n", TManifestStatus::Ok, 50 * kBytesPerMiB, "Skany" },
        { "ID=AB12CD34\nDESCR=Album\nSIZE=2\nPASS=%1\n", TManifestStatus::Ok, 2 * kBytesPerMiB, "Album" },
        { "id=x\ndescr=Duże\nsize=8192\npass=%1\n", TManifestStatus::Ok, int64_t(8) << 30, "Duże" },
        { "id=x\ndescr=\nsize=0\npass=%1\n", TManifestStatus::Ok, 0, "" },
        { "descr=d\nsize=5\npass=%1\n", TManifestStatus::Incomplete, 0, "" },
        { "id=x\nsize=5\npass=%1\n", TManifestStatus::Incomplete, 0, "" },
        { "id=x\ndescr=d\npass=%1\n", TManifestStatus::Incomplete, 0, "" },
        { "id=x\ndescr=d\nsize=5\n", TManifestStatus::Incomplete, 0, "" },
        { "id=x\ndescr=d\nsize=abc\n", TManifestStatus::Incomplete, 0, "" }, // a missing key first
        { "", TManifestStatus::Incomplete, 0, "" },
        { "id=x\ndescr=d\nsize=abc\npass=%1\n", TManifestStatus::Unreadable, 0, "" },
        { "id=x\ndescr=d\nsize=5 MB\npass=%1\n", TManifestStatus::Unreadable, 0, "" },
        { "id=x\ndescr=d\nsize=-1\npass=%1\n", TManifestStatus::Unreadable, 0, "" },
        { "id=x\ndescr=d\nsize=99999999999\npass=%1\n", TManifestStatus::Unreadable, 0, "" },
    };
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("am.vds"));
    for (const auto& c : cases) {
        ASSERT_TRUE(WriteFileBytes(path, ToCp1250(QString::fromUtf8(c.text).replace("%1", pass))));
        const TManifestRead read = ReadAccountManifest(path);
        EXPECT_EQ(read.status, c.status) << c.text;
        if (c.status != TManifestStatus::Ok) {
            EXPECT_FALSE(read.problem.isEmpty()) << c.text;
            continue;
        }
        EXPECT_EQ(read.manifest.quota, c.quota) << c.text;
        EXPECT_EQ(read.manifest.description, QString::fromUtf8(c.description));
        EXPECT_EQ(read.manifest.passDigest, pass);
    }
    EXPECT_EQ(ReadAccountManifest(dir.filePath(QStringLiteral("none.vds"))).status, TManifestStatus::Unreadable);
}

TEST(AccountPassword, ComparedExactlyAsTypedUnlessTheAccountHasNone)
{
    const QString none = QStringLiteral("334c4a4c42fdb79d7ebc3e73b517e6f8"); // MD5 of "none"
    const QString album = QStringLiteral("fd0dbcd9b5f1351289ab619f8b3ea09f"); // of "album2024"
    const struct {
        QString digest;
        const char* typed;
        bool opens;
    } cases[] = {
        { none, "", true },
        { none, "cokolwiek", true },
        { album, "album2024", true },
        { album, "", false },
        { album, "album2024 ", false },
        { album, " album2024", false },
        { album, "Album2024", false },
        { album.toUpper(), "album2024", false },
        { QString(), "", false },
    };
    for (const auto& c : cases)
        EXPECT_EQ(PasswordOpensAccount(c.digest, QString::fromUtf8(c.typed)), c.opens)
            << c.typed << " " << c.digest.toStdString();
}

} // namespace
