#include "lab/vdengine.h"

#include "core/blowfish.h"
#include "core/log.h"
#include "lab/listfile.h"
#include "lab/stamp.h"
#include "platform/appdir.h"
#include "platform/inifile.h"
#include "platform/inikeys.h"

#include <QFile>

#include <exception>
#include <functional>
#include <optional>

namespace {

// Verifies the "digitalstamp" of a file; logs with the given prefix either way.
bool StampVerifies(const TIniFile& ini, const QString& logPrefix)
{
    const QString stored = ini.ReadString(QStringLiteral("digitalstamp"), QStringLiteral("stamp"), QString());
    if (stored != ComputeStamp(ini.FileName())) {
        Log(logPrefix + ".digitalstamp: INVALID STAMP (\"" + stored + "\")", 3);
        return false;
    }
    Log(logPrefix + ".digitalstamp: stamp \"" + stored + "\" verified !");
    return true;
}

struct TSourceValue {
    QString protocol;
    QString source;
};

// "protocol://source", lower-cased whole; logs and gives nothing when it has no "://" or
// names a protocol other than file, http or https.
std::optional<TSourceValue> ParseSource(const QString& value, const QString& logKey)
{
    const QString text = value.toLower();
    Log(logKey + ": " + text);
    const qsizetype separator = text.indexOf(QLatin1String("://"));
    if (separator < 0) {
        Log(logKey + ": unknown protocol.", 3);
        return std::nullopt;
    }
    TSourceValue parsed { text.left(separator), text.mid(separator + 3) };
    if (parsed.protocol != QLatin1String("file") && parsed.protocol != QLatin1String("http")
        && parsed.protocol != QLatin1String("https")) {
        Log(logKey + ": invalid protocol.", 3);
        return std::nullopt;
    }
    return parsed;
}

// A DPI value read as text and converted strictly; logs "invalid DPI" when it is not a
// number or fails the range check.
std::optional<int> ReadDpi(const TIniFile& ini, const QString& key, const std::function<bool(int)>& valid)
{
    const QString text = ini.ReadString(QStringLiteral("engine"), key, QStringLiteral("0"));
    const auto value = ParseDecimalField(text);
    if (!value || !valid(*value)) {
        Log("engine.settings." + key + ": invalid DPI (" + text + ") !", 3);
        return std::nullopt;
    }
    return value;
}

// clang-format off
// The plain keys of engine.ini, read after the formats and shops sources; the FTP account is
// enciphered with the lab key.
const TIniKey<TEngine> kLabKeys[] = {
    IniText("ftp", "host", &TEngine::host),
    IniEnciphered("ftp", "user", &TEngine::user),
    IniEnciphered("ftp", "pass", &TEngine::pass),
    IniText("ftp", "orderpath", &TEngine::orderpath),
    IniText("ftp", "virtual", &TEngine::virtual_),
    IniNumber("ftp", "tls", &TEngine::tls, 0),
    IniText("advanced", "newsseed", &TEngine::newsseed),
    IniText("advanced", "newspath", &TEngine::newspath),
    IniText("advanced", "updateseed", &TEngine::updateseed),
    IniText("advanced", "updatepath", &TEngine::updatepath),
    IniText("advanced", "settings", &TEngine::settings),
};

// The keys of the settings file after its checked resolutions and "forceformat"; the values
// are those a missing key reads as.
const TIniKey<TEngine> kSettingsKeys[] = {
    IniNumber("engine", "formatmargin", &TEngine::formatmargin, 0),
    IniFlag("engine", "usenews", &TEngine::usenews, false),
    IniFlag("engine", "useupdates", &TEngine::useupdates, false),
    IniText("engine", "orderid", &TEngine::orderid),
    IniText("company", "name", &TEngine::name),
    IniText("company", "owner", &TEngine::owner),
    IniText("company", "person", &TEngine::person),
    IniText("company", "street", &TEngine::street),
    IniText("company", "city", &TEngine::city),
    IniText("company", "phone", &TEngine::phone),
    IniText("company", "email", &TEngine::email),
    IniText("company", "www", &TEngine::www),
    IniText("company", "bank", &TEngine::bank),
    IniFlag("company", "noshop", &TEngine::noshop, false),
    IniFlag("company", "personal", &TEngine::personal, false),
    IniFlag("company", "paycash", &TEngine::paycash, false),
    IniFlag("company", "paytransfer", &TEngine::paytransfer, false),
    IniFlag("company", "paycard", &TEngine::paycard, false),
    IniFlag("company", "vat", &TEngine::vat, true),
    IniText("sendorder", "loginscript", &TEngine::loginscript),
    IniText("sendorder", "postorderpage", &TEngine::postorderpage),
    IniText("sendorder", "newuserpage", &TEngine::newuserpage),
    IniFlag("sendorder", "pack", &TEngine::pack, false),
    IniNumber("sendorder", "delivery_price", &TEngine::delivery_price, -100),
    IniNumber("sendorder", "delivery_pricepre", &TEngine::delivery_pricepre, -100),
    IniNumber("sendorder", "min_price", &TEngine::min_price, -100),
    IniNumber("sendorder", "open_price", &TEngine::open_price, -100),
    IniNumber("sendorder", "minphotos", &TEngine::minphotos, -1),
};
// clang-format on

} // namespace

TEngine::TEngine()
    : shopList(std::make_unique<TShopList>())
{
}

TEngine::~TEngine() = default;

QString TEngine::ComputeStamp(const QString& path)
{
    return ::ComputeStamp(path);
}

int TEngine::LoadLabConfig()
{
    Log(QStringLiteral("Checking engine.ini ..."));
    const QString path = AppPath(kEngineIni);
    if (!QFile::exists(path))
        return kFailed;
    try {
        const TIniFile ini(path);
        const TBlowFish cipher { QByteArrayView(kLabKey) };
        if (!StampVerifies(ini, QStringLiteral("engine.init")))
            return kBadStamp;

        progname = ini.ReadString("misc", "progname", "Vendaro");
        const auto formats = ParseSource(ini.ReadString("engine", "formats", ""), "engine.init.formats");
        if (!formats)
            return kFailed;
        formatsProtocol = formats->protocol;
        formatsSource = formats->source;
        const QString shops = ini.ReadString("engine", "shops", "");
        if (!shops.isEmpty()) {
            const auto shopsValue = ParseSource(shops, "engine.init.shops");
            if (!shopsValue)
                return kFailed;
            shopsProtocol = shopsValue->protocol;
            shopsSource = shopsValue->source;
        }

        ReadIniKeys<TEngine>(ini, kLabKeys, *this,
            [&cipher](const TIniKey<TEngine>&, const QString& stored) { return cipher.DecodeText(stored); });

        if (!ini.ValueExists("advanced", "authkey")) {
            Log(QStringLiteral("engine.init.adv: authkey not found."), 3);
            return kFailed;
        }
        authkey = cipher.DecodeText(ini.ReadString("advanced", "authkey", ""));

        if (host.isEmpty() || orderpath.isEmpty()) {
            Log(QStringLiteral("engine.init.ftp: host or order_path not specified !"), 3);
            return kFailed;
        }
        if (virtual_.isEmpty()) {
            Log(QStringLiteral("engine.init.ftp: virtual accounts path not secified !"), 3);
            return kFailed;
        }
        return kLoaded;
    } catch (const std::exception& e) {
        Log(QStringLiteral("engine.init: ") + QString::fromLocal8Bit(e.what()), 3);
        return kFailed;
    }
}

int TEngine::LoadSettings()
{
    Log(QStringLiteral("Checking engine_set.ini ..."));
    const QString path = AppPath(kSettingsTmp);
    if (!QFile::exists(path))
        return kFailed;
    const TIniFile ini(path);
    if (!StampVerifies(ini, QStringLiteral("engine.settings")))
        return kBadStamp;

    const auto output = ReadDpi(ini, "outputdpi", [](int dpi) { return dpi >= 100 && dpi <= 600; });
    if (!output)
        return kFailed;
    outputdpi = *output;
    const auto minimum = ReadDpi(ini, "mindpi", [this](int dpi) { return dpi > 71 && outputdpi >= dpi; });
    if (!minimum)
        return kFailed;
    mindpi = *minimum;

    forceformat = ini.ReadString("engine", "forceformat", "0") == QLatin1String("1");
    ReadIniKeys<TEngine>(ini, kSettingsKeys, *this, {});
    return kLoaded;
}

bool TEngine::BuildShopList()
{
    if (!noshop)
        shopList->Add({ .id = -1,
            .name = name,
            .city = city,
            .street = street,
            .email = email,
            .phone = phone,
            .bank = bank,
            .personal = personal,
            .payCash = paycash,
            .payTransfer = paytransfer,
            .payCard = paycard,
            .vat = vat });
    const QString path = AppPath(kShopsTmp);
    if (!QFile::exists(path))
        return shopList->Count() > 0;
    return shopList->LoadFromFile(path) && shopList->Count() > 0;
}
