// vendaro-lab ftp-check against the demo lab's FTP server, with and without TLS.
#include "tests/support/demokit.h"
#include "tests/support/testsupport.h"
#include "tests/support/tlscerts.h"
#include "tests/tools/labrun.h"

#include <QDir>

#include <gtest/gtest.h>

namespace {

QStringList Findings(const LabRun& run)
{
    QStringList names;
    for (const QString& line : run.out.split(u'\n', Qt::SkipEmptyParts))
        names << line.section(u':', 0, 0);
    return names;
}

TEST(FtpCheck, ATlsLabPassesEveryCheckAndLeavesNothingBehind)
{
    TKit kit(2);
    ASSERT_TRUE(kit.Made());
    ASSERT_TRUE(kit.Serve());
    const TScopedCertStore store(kit.CaFile());
    const LabRun run = Lab({ "ftp-check", kit.Root() });
    EXPECT_EQ(run.exitCode, 0) << run.out.toStdString() << run.err.toStdString();
    EXPECT_EQ(Findings(run),
        (QStringList { "connection", "TLS", "login", "folder", "upload", "SIZE", "REST", "listing", "delete" }));
    EXPECT_TRUE(run.out.contains("TLS: ok, TLSv1.")) << run.out.toStdString();
    EXPECT_TRUE(run.out.contains("CN=127.0.0.1"));
    EXPECT_TRUE(run.out.contains("reused the TLS session"));
    EXPECT_TRUE(run.out.contains("REST: ok, resumed at 32768 bytes"));
    EXPECT_FALSE(run.out.contains("FAILED"));
    EXPECT_TRUE(QDir(kit.Ftp("orders")).entryList(QDir::Files).isEmpty()); // the probe is gone
}

TEST(FtpCheck, RequiredTlsAgainstAPlainServerFailsBeforeThePassword)
{
    TKit kit(2);
    ASSERT_TRUE(kit.Made());
    kit.Edit(kit.Root() + "/server/serve.json", "\"ftp_tls_cert\"", "\"no_tls_cert\"", false);
    ASSERT_TRUE(kit.Serve());
    const TScopedCertStore store(kit.CaFile());
    const LabRun run = Lab({ "ftp-check", kit.Root() });
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(Findings(run), (QStringList { "connection", "TLS" }));
    EXPECT_TRUE(run.out.contains("TLS: FAILED, The server offers no TLS")) << run.out.toStdString();
    EXPECT_EQ(run.err.trimmed(), "vendaro-lab: ftp-check: TLS failed");
    EXPECT_FALSE(kit.Lab().Output().contains("FTP LOGIN"));
}

TEST(FtpCheck, AnUntrustedCertificateOrAPlainKitIsReported)
{
    TKit kit(2);
    ASSERT_TRUE(kit.Made());
    ASSERT_TRUE(kit.Serve());
    QTemporaryDir other;
    TTestCertificates stranger;
    ASSERT_TRUE(MakeTestCertificates(other.path(), stranger));
    {
        const TScopedCertStore store(stranger.caFile);
        const LabRun run = Lab({ "ftp-check", kit.Root() });
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_TRUE(run.out.contains("TLS: FAILED, SSL Exception")) << run.out.toStdString();
    }
    // A lab that keeps plain FTP passes, and is told what travels in clear text.
    kit.Edit(kit.Program("config/engine.ini"), "tls=2", "tls=0", true);
    const LabRun plain = Lab({ "ftp-check", kit.Program() });
    EXPECT_EQ(plain.exitCode, 0) << plain.out.toStdString();
    EXPECT_TRUE(plain.out.contains("TLS: off (engine.ini tls=0)"));
    ExpectOneLineError(Lab({ "ftp-check" }), "no kit");
}

} // namespace
