#include "lab/formats.h"
#include "lab/shoplist.h"
#include "lab/vdengine.h"
#include "platform/appdir.h"
#include "platform/inifile.h"

#include "tests/support/testsupport.h"
#include "tests/tools/labrun.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

int InitDemo(const QStringList& args)
{
    return Lab(QStringList { "init-demo" } + args).exitCode;
}

// The kit's files load with the program's own readers: the parts fit together.
TEST(InitDemo, KitLoadsWithTheProgramsReaders)
{
    QTemporaryDir dir;
    const QString kit = dir.filePath("kit");
    ASSERT_EQ(InitDemo({ kit, "--http-port", "18123", "--ftp-port", "12345", "--skins", dir.filePath("none") }), 0);

    const QString previous = AppDir();
    SetAppDir(kit + "/program");
    TEngine engine;
    EXPECT_EQ(engine.LoadLabConfig(), TEngine::kLoaded);
    EXPECT_EQ(engine.progname, "Fotolab Demo");
    EXPECT_EQ(engine.formatsProtocol, "http");
    EXPECT_EQ(engine.formatsSource, "127.0.0.1:18123/formats.txt");
    EXPECT_EQ(engine.host, "127.0.0.1:12345");
    EXPECT_EQ(engine.settings, "http://127.0.0.1:18123/engine_set.ini");
    EXPECT_EQ(engine.tls, 2); // the kit's FTP server speaks TLS with a certificate of its own

    const QJsonObject serve = QJsonDocument::fromJson(ReadFileBytes(kit + "/server/serve.json")).object();
    EXPECT_EQ(engine.user, serve["ftp_user"].toString());
    EXPECT_EQ(engine.pass, serve["ftp_password"].toString());
    EXPECT_EQ(engine.authkey, serve["authkey"].toString());
    EXPECT_EQ(serve["http_port"].toInt(), 18123);
    EXPECT_TRUE(QFile::exists(kit + "/server/" + serve["ftp_tls_cert"].toString()));
    EXPECT_TRUE(QFile::exists(kit + "/server/tls/ca.pem"));

    ASSERT_TRUE(QFile::copy(kit + "/server/www/engine_set.ini", AppPath("engine_settmp.ini")));
    EXPECT_EQ(engine.LoadSettings(), TEngine::kLoaded);
    EXPECT_EQ(engine.outputdpi, 300);
    EXPECT_EQ(engine.loginscript, "http://127.0.0.1:18123/login");
    EXPECT_EQ(engine.orderid, "http://127.0.0.1:18123/orderid");
    EXPECT_EQ(engine.postorderpage, "http://127.0.0.1:18123/postorder");
    EXPECT_EQ(engine.city, QStringLiteral("90-926 Łódź"));

    TFormats formats;
    EXPECT_TRUE(formats.LoadFormats(kit + "/server/www/formats.txt"));
    EXPECT_GE(formats.Count(), 9);
    EXPECT_EQ(formats.Formats().front().name, "9 x 13");
    EXPECT_EQ(formats.Formats().back().name, "30 x 45");

    EXPECT_TRUE(engine.shopList->LoadFromFile(kit + "/server/www/shops.txt"));
    EXPECT_GE(engine.shopList->Count(), 8);

    const TIniFile tips(kit + "/program/tips.ini");
    const int count = tips.ReadInteger("tips", "count", 0);
    EXPECT_GE(count, 10);
    EXPECT_FALSE(tips.ReadString("tips", QStringLiteral("tip%1").arg(count), "").isEmpty());

    for (const char* account : { "DEMO2024", "FOTO7788" })
        EXPECT_TRUE(QFile::exists(kit + "/server/ftp/virtual/" + account + "/account_manifest.vds"));
    EXPECT_TRUE(QDir(kit + "/server/ftp/orders").exists());
    SetAppDir(previous);
}

TEST(InitDemo, RefusesBadArgumentsAndAnExistingKit)
{
    QTemporaryDir dir;
    ExpectOneLineError(Lab({ "init-demo", dir.filePath("k"), "--http-port", "http" }), "port of letters");
    ExpectOneLineError(Lab({ "init-demo" }), "no folder");
    ASSERT_EQ(InitDemo({ dir.filePath("k"), "--skins", dir.filePath("none") }), 0);
    const LabRun again = Lab({ "init-demo", dir.filePath("k") });
    ExpectOneLineError(again, "existing kit");
    EXPECT_TRUE(again.err.contains("already holds a kit")) << again.err.toStdString();
}

} // namespace
