#include "core/blowfish.h"
#include "platform/inifile.h"

#include "tests/support/testsupport.h"
#include "tests/tools/labrun.h"

#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(VendaroLab, ProtectAndUnprotect)
{
    // Known answer from tests/core/blowfish_reference.py.
    LabRun run = Lab({ "protect", "config", "pass|word" });
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, "D5E2A4A7040C4980AC9106D507A3FD05\n");

    for (const char* key : { "lab", "config", "login" }) {
        const QString text = QStringLiteral(u"Zażółć gęślą jaźń | 100%");
        run = Lab({ "protect", key, text });
        ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
        const QString hex = run.out.trimmed();
        EXPECT_EQ(TBlowFish(QByteArrayView(std::string_view(key) == "lab" ? kLabKey
                                    : std::string_view(key) == "config"   ? kConfigKey
                                                                          : kLoginKey))
                      .DecodeText(hex),
            text);
        run = Lab({ "unprotect", key, hex });
        EXPECT_EQ(run.exitCode, 0);
        EXPECT_EQ(run.out, text + "\n");
    }

    run = Lab({ "unprotect", "lab", "ABC" });
    ExpectOneLineError(run, "odd length");
    EXPECT_EQ(run.err, "vendaro-lab: Data type mismatch or data demaged\n");
    ExpectOneLineError(Lab({ "unprotect", "login", Lab({ "protect", "lab", "secret" }).out.trimmed() }), "wrong key");
    ExpectOneLineError(Lab({ "protect", "other", "x" }), "unknown key");
    ExpectOneLineError(Lab({ "protect", "lab" }), "missing text");
    ExpectOneLineError(Lab({ "protect", "lab", QStringLiteral(u"漢字") }), "not Windows-1250");
    ExpectOneLineError(Lab({ "nosuchcommand" }), "unknown command");
}

TEST(VendaroLab, StampPrintsAndWrites)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("engine.ini");
    const QByteArray original = "; lab file\r\n[main]\r\nname=Foto \xA3\xF3\x64\xBC\r\nprice=12\r\n";
    ASSERT_TRUE(WriteFileBytes(path, original));
    // MD5 of "vd", the values in Windows-1250 ("Foto Łódź", "12") and "db915706".
    const QString stamp = QStringLiteral("6ed49b02d56f9b819287369677d9f293");

    LabRun run = Lab({ "stamp", path });
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, stamp + "\n");
    EXPECT_EQ(ReadFileBytes(path), original); // printing only changes nothing

    run = Lab({ "stamp", "--write", path });
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.out, stamp + "\n");
    EXPECT_EQ(ReadFileBytes(path), original + "[digitalstamp]\r\nstamp=" + stamp.toLatin1() + "\r\n");

    // Changing a value and stamping again replaces the stored stamp in place.
    TIniFile(path).WriteString("main", "price", "13");
    run = Lab({ "stamp", path, "--write" });
    ASSERT_EQ(run.exitCode, 0);
    const QString restamped = QStringLiteral("08fc7af3cb28583de4df9d7af1eb8fe5"); // "...13db915706"
    EXPECT_EQ(run.out, restamped + "\n");
    EXPECT_EQ(TIniFile(path).ReadString("digitalstamp", "stamp", ""), restamped);
    EXPECT_EQ(ReadFileBytes(path).count("stamp="), 1);

    ExpectOneLineError(Lab({ "stamp", dir.filePath("missing.ini") }), "missing file");
    ExpectOneLineError(Lab({ "stamp", dir.path() }), "a folder");
    ExpectOneLineError(Lab({ "stamp" }), "no file");
}

TEST(VendaroLab, HelpDocumentsEveryCommand)
{
    const LabRun run = Lab({ "--help" });
    EXPECT_EQ(run.exitCode, 0);
    for (const char* usage : { "vendaro-lab stamp FILE [--write]", "vendaro-lab protect lab|config|login TEXT",
             "vendaro-lab unprotect lab|config|login HEX" })
        EXPECT_TRUE(run.out.contains(usage)) << usage << "\n" << run.out.toStdString();
}

TEST(VendaroLab, PackageRefusesWhatItCannotShip)
{
    QTemporaryDir dir;
    const QString kit = dir.filePath("kit/program/");
    ASSERT_TRUE(WriteFileBytes(kit + "config/engine.ini", "[misc]\r\nprogname=Lab\r\n"));
    ASSERT_TRUE(WriteFileBytes(dir.filePath("bare/tips.ini"), "[tips]\r\n"));
    ASSERT_TRUE(WriteFileBytes(dir.filePath("text.deb"), "not a package\n"));
    // A real package, only without the program.
    ASSERT_TRUE(WriteFileBytes(dir.filePath("other/DEBIAN/control"),
        "Package: other\nVersion: 1\nArchitecture: all\nMaintainer: x <x@x>\nDescription: other\n"));
    ASSERT_TRUE(WriteFileBytes(dir.filePath("other/opt/other/readme"), "x\n"));
    QProcess build;
    build.start("dpkg-deb", { "--root-owner-group", "--build", dir.filePath("other"), dir.filePath("other.deb") });
    ASSERT_TRUE(build.waitForFinished(30000) && build.exitCode() == 0) << build.readAllStandardError().toStdString();

    const QString out = dir.filePath("out.deb");
    ExpectOneLineError(Lab({ "package", dir.filePath("kit"), dir.filePath("other.deb") }), "missing output");
    ExpectOneLineError(Lab({ "package", dir.filePath("none"), dir.filePath("other.deb"), out }), "missing kit");
    ExpectOneLineError(Lab({ "package", dir.filePath("bare"), dir.filePath("other.deb"), out }), "no engine.ini");
    ExpectOneLineError(Lab({ "package", dir.filePath("kit"), dir.filePath("other.deb"), out }), "no stamp");
    ASSERT_EQ(Lab({ "stamp", "--write", kit + "config/engine.ini" }).exitCode, 0);
    const struct {
        const char* deb;
        const char* says;
    } packages[] = {
        { "none.deb", "none.deb: no such package" },
        { "text.deb", "text.deb is not a Debian package: " },
        { "other.deb", "other.deb holds no Vendaro program (/opt/vendaro/vendaro)" },
    };
    for (const auto& p : packages) {
        const LabRun run = Lab({ "package", dir.filePath("kit"), dir.filePath(p.deb), out });
        ExpectOneLineError(run, p.deb);
        EXPECT_TRUE(run.err.contains(p.says)) << run.err.toStdString();
    }
    EXPECT_FALSE(QFileInfo::exists(out));
}
