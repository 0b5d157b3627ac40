#include "app/settingsrules.h"

#include "core/core.h"
#include "net/proxytest.h"
#include "tests/support/testsupport.h"

#include <gtest/gtest.h>

TEST(SettingsRules, TimeOutItems)
{
    EXPECT_EQ(
        TimeoutItems(), QStringList({ "10 sekund", "20 sekund", "30 sekund", "40 sekund", "50 sekund", "60 sekund" }));
    const struct {
        int milliseconds, item;
    } cases[] = {
        { 10000, 0 },
        { 30000, 2 },
        { 60000, 5 }, // the items' own values
        { 0, 2 },
        { -5, 2 },
        { -2147483647 - 1, 2 }, // no time-out: the built-in 30 s
        { 1, 0 },
        { 14999, 0 },
        { 15000, 1 },
        { 25000, 2 },
        { 64999, 5 },
        { 70000, 5 },
        { 2147483647, 5 },
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TimeoutItem(c.milliseconds), c.item) << c.milliseconds;
        EXPECT_EQ(TimeoutOfItem(c.item), (c.item + 1) * 10000);
    }
    EXPECT_EQ(TimeoutOfItem(-1), 10000) << "a drop-down list with nothing chosen";
}

TEST(SettingsRules, OkChecksTheProxyOnlyWhenItIsOn)
{
    const struct {
        bool useproxy, tested;
        const char *host, *port, *problem;
    } cases[] = {
        { false, false, "", "x", "" },
        { true, false, "proxy", "8080", "Musisz przetestować ustawienia serwera proxy lub wyłączyć go !" },
        { true, true, "", "port", "Nieprawidłowy port serwera proxy !" },
        { true, true, "proxy", "", "Nieprawidłowy port serwera proxy !" },
        { true, true, "", "8080", "Podaj adres serwera proxy lub wyłącz go !" },
        { true, true, "proxy", "8080", "" },
    };
    for (const auto& c : cases) {
        TSettingsFields fields;
        fields.useproxy = c.useproxy;
        fields.proxyHost = QString::fromUtf8(c.host);
        fields.proxyPort = QString::fromUtf8(c.port);
        EXPECT_EQ(SettingsProblem(fields, c.tested), QString::fromUtf8(c.problem)) << c.host << " " << c.port;
    }
}

// The proxy test and "OK" read the host and port through one function: an address the test
// takes, OK takes and stores as the test used it, and one the test refuses, OK refuses too.
TEST(SettingsRules, ProxyTestAndOkReadTheAddressAlike)
{
    const struct {
        const char *host, *port;
        bool accepted;
    } cases[] = {
        { "127.0.0.1", "1", true },
        { " 127.0.0.1 ", " 1", true },
        { "\t127.0.0.1", "1 ", true },
        { "127.0.0.1", "+1", true },
        { "   ", "1", false },
        { "", "1", false },
        { "127.0.0.1", "  ", false },
        { "127.0.0.1", "1 2", false },
        { "127.0.0.1", "0", false },
        { "127.0.0.1", "65536", false },
        { "127.0.0.1", "1a", false },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("[") + c.host + "]:[" + c.port + "]");
        // Nothing listens on port 1: an address the test takes fails at the HTTP step.
        QStringList errors;
        RunProxyTest({ c.host, c.port, {}, {} }, { {}, {}, [&](const QString& e) { errors << e; }, {} },
            QStringLiteral("http://127.0.0.1:1/"));
        ASSERT_EQ(errors.size(), 1);
        const bool testTookIt = errors[0] != "Podaj serwer proxy !" && errors[0] != "Podaj prawidłowy port !";
        EXPECT_EQ(testTookIt, c.accepted) << errors[0].toStdString();

        TSettingsFields fields;
        fields.useproxy = true;
        fields.proxyHost = QString::fromUtf8(c.host);
        fields.proxyPort = QString::fromUtf8(c.port);
        EXPECT_EQ(SettingsProblem(fields, true).isEmpty(), c.accepted) << SettingsProblem(fields, true).toStdString();
        if (c.accepted) {
            TConfig config;
            StoreSettingsFields(fields, config);
            EXPECT_EQ(config.proxy_host, "127.0.0.1");
            EXPECT_EQ(config.proxy_port, QString::fromUtf8(c.port).trimmed());
        }
    }
}

TEST(SettingsRules, SkinNamesAreTitleCasedFileNames)
{
    ScopedAppDir app;
    QDir().mkpath(app.Path("skins"));
    for (const char* name : { "GRAFIT.vdskin", "morska bryza.VDSKIN", "notes.txt" })
        WriteFileBytes(app.Path("skins/") + name, "x");
    QStringList names = InstalledSkinNames();
    names.sort();
    EXPECT_EQ(names, QStringList({ "Grafit", "Morska Bryza" }));
    EXPECT_EQ(TConfig::SkinFile("Grafit"), app.Path("skins/GRAFIT.vdskin"));
    EXPECT_EQ(TConfig::SkinFile("grafit*"), "") << "a name, never a pattern";
    EXPECT_EQ(TConfig::SkinFile("notes"), "");
}

TEST(SettingsRules, FieldsRoundTripThroughTheConfiguration)
{
    TConfig config;
    config.timout = 0;
    config.proxy_ftp_type = 4;
    config.cropalpha = 10;
    TSettingsFields fields = SettingsFields(config);
    EXPECT_EQ(fields.timeoutItem, 2);
    fields.thumbSize = 170;
    fields.passive = true;
    StoreSettingsFields(fields, config);
    EXPECT_EQ(config.timout, 30000);
    EXPECT_EQ(config.thumbbitmapwidth, 170);
    EXPECT_EQ(config.thumbbitmapheight, 170);
    EXPECT_TRUE(config.passive);
    EXPECT_EQ(config.proxy_ftp_type, 4) << "only the proxy test sets it";
    EXPECT_EQ(config.cropalpha, 10);
}
