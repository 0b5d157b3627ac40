#include "lab/vdengine.h"

#include "core/core.h"
#include "core/coreobjects.h"
#include "core/log.h"
#include "lab/listfile.h"
#include "net/labfetch.h"
#include "platform/cp1250.h"
#include "tests/lab/labfiles.h"
#include "tests/support/demolab.h"
#include "tests/support/testsupport.h"
#include "tests/support/tlscerts.h"

#include <QFile>
#include <QTemporaryDir>

#include <memory>

#include <gtest/gtest.h>

namespace {

class EngineTest : public testing::Test {
protected:
    void SetUp() override { LogStore().Clear(); }
    int LoadLab(const TIniValues& changes, const QString* stamp = nullptr)
    {
        TIniValues values = LabIniValues();
        for (auto it = changes.begin(); it != changes.end(); ++it)
            values[it.key()] = it.value();
        WriteStampedIni(app_.Path("config/engine.ini"), values, stamp);
        return engine_.LoadLabConfig();
    }
    int LoadSettings(const TIniValues& changes)
    {
        TIniValues values = SettingsValues();
        for (auto it = changes.begin(); it != changes.end(); ++it)
            values[it.key()] = it.value();
        WriteStampedIni(app_.Path("engine_settmp.ini"), values);
        return engine_.LoadSettings();
    }
    ScopedAppDir app_;
    TEngine engine_;
};

TEST_F(EngineTest, LabConfigLoadsAndDeciphersProtectedValues)
{
    ASSERT_EQ(LoadLab({}), TEngine::kLoaded);
    EXPECT_EQ(engine_.progname, "Fotolab Test");
    EXPECT_EQ(engine_.formatsProtocol, "file");
    EXPECT_EQ(engine_.formatsSource, "formats.txt");
    EXPECT_EQ(engine_.shopsProtocol, "file");
    EXPECT_EQ(engine_.user, "labuser");
    EXPECT_EQ(engine_.pass, QStringLiteral("tajne hasło"));
    EXPECT_EQ(engine_.authkey, "AK-1234");
    EXPECT_EQ(engine_.host, "127.0.0.1:2121");
    EXPECT_EQ(engine_.orderpath, "/orders");
    EXPECT_EQ(engine_.virtual_, "/virtual");
    EXPECT_EQ(engine_.newsseed, "http://127.0.0.1/seeds/newsid.txt");
    EXPECT_EQ(engine_.newspath, "http://127.0.0.1/news/");
    EXPECT_EQ(engine_.updateseed, "http://127.0.0.1/seeds/npid.txt");
    EXPECT_EQ(engine_.updatepath, "http://127.0.0.1/update/setup");
    EXPECT_EQ(engine_.settings, "http://127.0.0.1/engine_set.ini");
    EXPECT_TRUE(LogHasLine(QStringLiteral("engine.init.formats: file://formats.txt"), 0));
}

TEST_F(EngineTest, LabConfigCases)
{
    const QString upperStamp = QStringLiteral("ABCDEF0123456789ABCDEF0123456789");
    struct Case {
        const char* name;
        TIniValues changes;
        int result;
        const char* log; // a level-3 line the failure writes
    };
    const Case cases[] = {
        { "formats upper case", { { "engine/formats", "FILE://Formats.TXT" } }, 1, nullptr },
        { "formats without protocol", { { "engine/formats", "formats.txt" } }, -1,
            "engine.init.formats: unknown protocol." },
        { "formats over ftp", { { "engine/formats", "ftp://x/f.txt" } }, -1, "engine.init.formats: invalid protocol." },
        { "no formats", { { "engine/formats", kAbsent } }, -1, "engine.init.formats: unknown protocol." },
        { "no shops", { { "engine/shops", kAbsent } }, 1, nullptr },
        { "empty shops", { { "engine/shops", "" } }, 1, nullptr },
        { "shops without protocol", { { "engine/shops", "shops.txt" } }, -1, "engine.init.shops: unknown protocol." },
        { "shops over ftp", { { "engine/shops", "ftp://x/s.txt" } }, -1, "engine.init.shops: invalid protocol." },
        { "formats over https", { { "engine/formats", "HTTPS://Lab.example/Formats.txt" } }, 1, nullptr },
        { "no authkey", { { "advanced/authkey", kAbsent } }, -1, "engine.init.adv: authkey not found." },
        { "empty authkey", { { "advanced/authkey", "" } }, 1, nullptr },
        { "no host", { { "ftp/host", kAbsent } }, -1, "engine.init.ftp: host or order_path not specified !" },
        { "no order path", { { "ftp/orderpath", "" } }, -1, "engine.init.ftp: host or order_path not specified !" },
        { "no virtual path", { { "ftp/virtual", kAbsent } }, -1,
            "engine.init.ftp: virtual accounts path not secified !" },
        { "undecodable user", { { "ftp/user", "0123456789ABCDEF" } }, -1, nullptr },
        { "odd hex password", { { "ftp/pass", "ABC" } }, -1, nullptr },
        { "no program name", { { "misc/progname", kAbsent } }, 1, nullptr },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LogStore().Clear();
        TEngine engine;
        TIniValues values = LabIniValues();
        for (auto it = c.changes.begin(); it != c.changes.end(); ++it)
            values[it.key()] = it.value();
        WriteStampedIni(app_.Path("config/engine.ini"), values);
        EXPECT_EQ(engine.LoadLabConfig(), c.result);
        if (c.log) {
            EXPECT_TRUE(LogHasLine(QString::fromUtf8(c.log), 3));
        }
        if (c.result == 1 && c.changes.contains("engine/formats")) {
            EXPECT_TRUE(engine.formatsSource.endsWith("formats.txt")) << engine.formatsSource.toStdString();
        }
        if (c.result == 1 && c.changes.contains("misc/progname")) {
            EXPECT_EQ(engine.progname, "Vendaro");
        }
        if (c.result == 1 && c.changes.contains("engine/shops")) {
            EXPECT_TRUE(engine.shopsProtocol.isEmpty());
        }
    }
}

TEST_F(EngineTest, LabConfigStamp)
{
    const QString wrong = QStringLiteral("0123456789abcdef0123456789abcdef");
    EXPECT_EQ(LoadLab({}, &wrong), TEngine::kBadStamp);
    EXPECT_TRUE(LogHasLine("engine.init.digitalstamp: INVALID STAMP (\"" + wrong + "\")", 3));

    // The right stamp in upper case does not verify; with spaces around it, it does.
    LoadLab({});
    const QByteArray stamped = ReadFileBytes(app_.Path("config/engine.ini"));
    const qsizetype at = stamped.indexOf("stamp=") + 6;
    const QByteArray stamp = stamped.mid(at, 32);
    WriteFileBytes(app_.Path("config/engine.ini"), QByteArray(stamped).replace(stamp, stamp.toUpper()));
    EXPECT_EQ(engine_.LoadLabConfig(), TEngine::kBadStamp);
    WriteFileBytes(
        app_.Path("config/engine.ini"), QByteArray(stamped).replace("stamp=" + stamp, "stamp =   " + stamp + "  "));
    EXPECT_EQ(engine_.LoadLabConfig(), TEngine::kLoaded);
    EXPECT_TRUE(LogHasLine("engine.init.digitalstamp: stamp \"" + QString::fromLatin1(stamp) + "\" verified !", 0));

    // A changed value breaks the stamp.
    WriteFileBytes(app_.Path("config/engine.ini"), QByteArray(stamped).replace("/orders", "/other"));
    EXPECT_EQ(engine_.LoadLabConfig(), TEngine::kBadStamp);

    QFile::remove(app_.Path("config/engine.ini"));
    EXPECT_EQ(engine_.LoadLabConfig(), TEngine::kFailed);
}

TEST_F(EngineTest, SettingsLoadWithDefaults)
{
    ASSERT_EQ(LoadSettings({}), TEngine::kLoaded);
    EXPECT_EQ(engine_.outputdpi, 300);
    EXPECT_EQ(engine_.mindpi, 150);
    EXPECT_TRUE(engine_.forceformat);
    EXPECT_TRUE(engine_.usenews);
    EXPECT_FALSE(engine_.useupdates);
    EXPECT_EQ(engine_.orderid, "%data8%");
    EXPECT_EQ(engine_.name, QStringLiteral("Fotolab Łódź"));
    EXPECT_TRUE(engine_.paycash);
    EXPECT_FALSE(engine_.paycard);
    EXPECT_TRUE(engine_.vat);
    EXPECT_TRUE(engine_.pack);
    EXPECT_EQ(engine_.delivery_price, 1200);
    EXPECT_EQ(engine_.delivery_pricepre, -100);
    EXPECT_EQ(engine_.min_price, -100);
    EXPECT_EQ(engine_.open_price, -100);
    EXPECT_EQ(engine_.minphotos, -1);
    EXPECT_TRUE(engine_.loginscript.isEmpty());
}

// Each key lands in its own field: a distinct value for every text and number, and each flag
// turned from its missing value on its own; a file holding only the resolutions gives every
// missing value.
TEST_F(EngineTest, EverySettingsKeyReachesItsField)
{
    const TIniValues resolutions = { { "engine/outputdpi", "300" }, { "engine/mindpi", "150" } };
    const struct {
        const char* key;
        QString TEngine::*field;
    } texts[] = { { "engine/orderid", &TEngine::orderid }, { "company/name", &TEngine::name },
        { "company/owner", &TEngine::owner }, { "company/person", &TEngine::person },
        { "company/street", &TEngine::street }, { "company/city", &TEngine::city },
        { "company/phone", &TEngine::phone }, { "company/email", &TEngine::email }, { "company/www", &TEngine::www },
        { "company/bank", &TEngine::bank }, { "sendorder/loginscript", &TEngine::loginscript },
        { "sendorder/postorderpage", &TEngine::postorderpage }, { "sendorder/newuserpage", &TEngine::newuserpage } };
    const struct {
        const char* key;
        int TEngine::*field;
        int ifMissing;
    } numbers[] = { { "engine/formatmargin", &TEngine::formatmargin, 0 },
        { "sendorder/delivery_price", &TEngine::delivery_price, -100 },
        { "sendorder/delivery_pricepre", &TEngine::delivery_pricepre, -100 },
        { "sendorder/min_price", &TEngine::min_price, -100 }, { "sendorder/open_price", &TEngine::open_price, -100 },
        { "sendorder/minphotos", &TEngine::minphotos, -1 } };
    const struct {
        const char* key;
        bool TEngine::*field;
        bool ifMissing;
    } flags[] = { { "engine/usenews", &TEngine::usenews, false }, { "engine/useupdates", &TEngine::useupdates, false },
        { "company/noshop", &TEngine::noshop, false }, { "company/personal", &TEngine::personal, false },
        { "company/paycash", &TEngine::paycash, false }, { "company/paytransfer", &TEngine::paytransfer, false },
        { "company/paycard", &TEngine::paycard, false }, { "company/vat", &TEngine::vat, true },
        { "sendorder/pack", &TEngine::pack, false } };

    TIniValues values = resolutions;
    for (const auto& text : texts)
        values[text.key] = text.key;
    for (int i = 0; i < std::ssize(numbers); ++i)
        values[numbers[i].key] = QString::number(i + 1);
    WriteStampedIni(app_.Path("engine_settmp.ini"), values);
    ASSERT_EQ(engine_.LoadSettings(), TEngine::kLoaded);
    for (const auto& text : texts)
        EXPECT_EQ(engine_.*text.field, text.key);
    for (int i = 0; i < std::ssize(numbers); ++i)
        EXPECT_EQ(engine_.*numbers[i].field, i + 1) << numbers[i].key;

    for (const auto& flag : flags) {
        values = resolutions;
        values[flag.key] = flag.ifMissing ? "0" : "1";
        WriteStampedIni(app_.Path("engine_settmp.ini"), values);
        ASSERT_EQ(engine_.LoadSettings(), TEngine::kLoaded);
        for (const auto& other : flags)
            EXPECT_EQ(engine_.*other.field, other.ifMissing != (&other == &flag)) << flag.key << " " << other.key;
    }
    for (const auto& text : texts)
        EXPECT_EQ(engine_.*text.field, "") << text.key;
    for (const auto& number : numbers)
        EXPECT_EQ(engine_.*number.field, number.ifMissing) << number.key;
}

TEST_F(EngineTest, SettingsResolutionBounds)
{
    struct Case {
        const char* output;
        const char* minimum;
        int result;
        const char* log;
    };
    const Case cases[] = {
        { "600", "600", 1, nullptr },
        { "100", "72", 1, nullptr },
        { "300", "71", -1, "engine.settings.mindpi: invalid DPI (71) !" },
        { "300", "301", -1, "engine.settings.mindpi: invalid DPI (301) !" },
        { "99", "72", -1, "engine.settings.outputdpi: invalid DPI (99) !" },
        { "601", "72", -1, "engine.settings.outputdpi: invalid DPI (601) !" },
        { "300dpi", "72", -1, "engine.settings.outputdpi: invalid DPI (300dpi) !" },
        { "300", "", -1, "engine.settings.mindpi: invalid DPI () !" },
        { "<absent>", "72", -1, "engine.settings.outputdpi: invalid DPI (0) !" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.output) + "/" + c.minimum);
        LogStore().Clear();
        EXPECT_EQ(LoadSettings({ { "engine/outputdpi", c.output }, { "engine/mindpi", c.minimum } }), c.result);
        if (c.log) {
            EXPECT_TRUE(LogHasLine(QString::fromUtf8(c.log), 3));
        }
    }
}

TEST_F(EngineTest, SettingsStampAndFlags)
{
    TIniValues values = SettingsValues();
    const QString wrong = QStringLiteral("00000000000000000000000000000000");
    WriteStampedIni(app_.Path("engine_settmp.ini"), values, &wrong);
    EXPECT_EQ(engine_.LoadSettings(), TEngine::kBadStamp);
    EXPECT_TRUE(LogHasLine("engine.settings.digitalstamp: INVALID STAMP (\"" + wrong + "\")", 3));

    EXPECT_EQ(LoadSettings({ { "engine/forceformat", "yes" }, { "company/vat", "0" }, { "company/noshop", "1" } }), 1);
    EXPECT_FALSE(engine_.forceformat);
    EXPECT_FALSE(engine_.vat);
    EXPECT_TRUE(engine_.noshop);

    QFile::remove(app_.Path("engine_settmp.ini"));
    EXPECT_EQ(engine_.LoadSettings(), TEngine::kFailed);
}

TEST_F(EngineTest, FormatsAndShopsComeFromTheConfigFolder)
{
    ASSERT_EQ(LoadLab({ { "engine/formats", "FILE://Formats.txt" } }), 1);
    EXPECT_FALSE(FetchFormats(engine_)); // looked up under the lower-case name
    WriteFileBytes(app_.Path("config/formats.txt"), "1|9 x 13|79|89|127\r\n");
    ASSERT_TRUE(FetchFormats(engine_));
    EXPECT_EQ(engine_.formatsSource, app_.Path("formatsTMP.txt"));
    EXPECT_EQ(ReadFileBytes(app_.Path("formatsTMP.txt")), "1|9 x 13|79|89|127\r\n");
    EXPECT_TRUE(LogHasLine(QStringLiteral("Getting formats.txt using file protocol ..."), 0));

    EXPECT_FALSE(FetchShopList(engine_));
    WriteFileBytes(
        app_.Path("config/shops.txt"), ToCp1250(QStringLiteral("5|Punkt Śródmieście|a|b|c|d|e|1|1|0|0\r\n")));
    ASSERT_TRUE(FetchShopList(engine_));
    EXPECT_EQ(engine_.shopsSource, "shops.txt");
}

// The lab's server over TLS, with the lab's account as QuietGetHTTP sends it.
class EngineFetchTest : public EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        Core().engine = &engine_;
        Core().config = &config_;
        ASSERT_TRUE(MakeTestCertificates(certs_.path(), certificates_));
        WriteFileBytes(www_.filePath("formats.txt"), "1|9 x 13|79|89|127\r\n");
        WriteFileBytes(www_.filePath("shops.txt"), "7|Punkt|c|s|e|p|b|1|1|1|1|1\r\n");
        WriteStampedIni(www_.filePath("engine_set.ini"), SettingsValues());
        WriteFileBytes(www_.filePath("huge.txt"), QByteArray(kLabFileMaxBytes + 1, ' '));
        lab_ = std::make_unique<TDemoLab>(www_.path(),
            QStringList { "--no-ftp", "--user", "labuser", "--password", QStringLiteral("tajne hasło"), "--tls-cert",
                certificates_.serverPem });
        ASSERT_TRUE(lab_->Started());
    }
    void TearDown() override
    {
        Core().engine = nullptr;
        Core().config = nullptr;
    }
    QString Address(const QString& name) const
    {
        return QStringLiteral("https://127.0.0.1:%1/%2").arg(lab_->HttpPort()).arg(name);
    }

    TConfig config_;
    QTemporaryDir www_;
    QTemporaryDir certs_;
    TTestCertificates certificates_;
    std::unique_ptr<TDemoLab> lab_;
};

TEST_F(EngineFetchTest, HttpsAddressesAreFetchedOverTlsAsWritten)
{
    ASSERT_EQ(LoadLab({ { "engine/formats", Address("formats.txt") }, { "engine/shops", Address("shops.txt") },
                  { "advanced/settings", Address("engine_set.ini") } }),
        1);
    EXPECT_FALSE(FetchFormats(engine_)); // the store does not trust the lab's authority yet
    EXPECT_FALSE(QFile::exists(app_.Path("formatsTMP.txt")));

    const TScopedCertStore store(certificates_.caFile);
    ASSERT_TRUE(FetchFormats(engine_));
    EXPECT_EQ(ReadFileBytes(app_.Path("formatsTMP.txt")), "1|9 x 13|79|89|127\r\n");
    EXPECT_TRUE(LogHasLine("Getting " + Address("formats.txt").mid(8) + " using https protocol ...", 0));
    ASSERT_TRUE(FetchShopList(engine_));
    EXPECT_EQ(ReadFileBytes(app_.Path("shopsTMP.txt")), "7|Punkt|c|s|e|p|b|1|1|1|1|1\r\n");
    ASSERT_TRUE(FetchSettings(engine_));
    EXPECT_EQ(engine_.LoadSettings(), TEngine::kLoaded);
}

TEST_F(EngineFetchTest, LabFilesAboveTheLimitAreRefused)
{
    const TScopedCertStore store(certificates_.caFile);
    ASSERT_EQ(LoadLab({ { "engine/formats", Address("huge.txt") }, { "engine/shops", "file://huge.txt" } }), 1);
    EXPECT_FALSE(FetchFormats(engine_));
    EXPECT_TRUE(LogHasLine(QStringLiteral("Transfer failed: EBodyTooLarge:Body larger than 4194304 bytes"), 3));
    EXPECT_FALSE(QFile::exists(app_.Path("formatsTMP.txt")));

    QFile::copy(www_.filePath("huge.txt"), app_.Path("config/huge.txt"));
    EXPECT_FALSE(FetchShopList(engine_));
    EXPECT_TRUE(LogHasLine(app_.Path("config/huge.txt") + " is larger than 4194304 bytes", 3));
    EXPECT_FALSE(QFile::exists(app_.Path("shopsTMP.txt")));
}

TEST_F(EngineTest, ShopListHasTheLabUnlessNoShop)
{
    ASSERT_EQ(LoadSettings({ { "company/personal", "1" }, { "company/paycard", "1" } }), 1);
    ASSERT_TRUE(engine_.BuildShopList()); // no shops file: the lab alone
    ASSERT_EQ(engine_.shopList->Count(), 1);
    const TShop& lab = engine_.shopList->Shop(0);
    EXPECT_EQ(lab.id, -1);
    EXPECT_EQ(lab.name, QStringLiteral("Fotolab Łódź"));
    EXPECT_TRUE(lab.personal);
    EXPECT_TRUE(lab.payCash);
    EXPECT_FALSE(lab.payTransfer);
    EXPECT_TRUE(lab.payCard);
    EXPECT_TRUE(lab.vat);

    WriteFileBytes(app_.Path("shopsTMP.txt"), "7|Punkt|c|s|e|p|b|1|1|1|1|1\r\n");
    engine_.shopList->Clear();
    ASSERT_TRUE(engine_.BuildShopList());
    EXPECT_EQ(engine_.shopList->Count(), 2);

    WriteFileBytes(app_.Path("shopsTMP.txt"), "7|Punkt|c|s|e|p|b|1|1|1\r\n");
    engine_.shopList->Clear();
    EXPECT_FALSE(engine_.BuildShopList());

    TEngine noShop;
    WriteStampedIni(app_.Path("engine_settmp.ini"),
        { { "engine/outputdpi", "300" }, { "engine/mindpi", "100" }, { "company/noshop", "1" } });
    ASSERT_EQ(noShop.LoadSettings(), 1);
    WriteFileBytes(app_.Path("shopsTMP.txt"), "\r\n");
    EXPECT_FALSE(noShop.BuildShopList());
    EXPECT_EQ(noShop.shopList->Count(), 0);
}

} // namespace
