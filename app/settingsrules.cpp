#include "app/settingsrules.h"

#include "core/core.h"
#include "core/textutils.h"
#include "net/proxytest.h"
#include "platform/appdir.h"
#include "platform/files.h"

#include <QFileInfo>

#include <algorithm>

namespace {

constexpr int kTimeoutStep = 10000;
constexpr int kTimeoutItemCount = 6;

// The values the window shows as they are stored; the thumbnail size and the time-out differ.
template <typename T> struct TSameField {
    T TConfig::*config;
    T TSettingsFields::*field;
};
// clang-format off
const TSameField<bool> kSameFlags[] = {
    { &TConfig::fexit, &TSettingsFields::fexit },
    { &TConfig::fdelete, &TSettingsFields::fdelete },
    { &TConfig::fPickDefFormat, &TSettingsFields::fPickDefFormat },
    { &TConfig::fShowTip, &TSettingsFields::fShowTip },
    { &TConfig::thumbname, &TSettingsFields::thumbname },
    { &TConfig::thumbsize, &TSettingsFields::thumbsize },
    { &TConfig::thumbprice, &TSettingsFields::thumbprice },
    { &TConfig::thumbresolution, &TSettingsFields::thumbresolution },
    { &TConfig::passive, &TSettingsFields::passive },
    { &TConfig::useproxy, &TSettingsFields::useproxy },
};
const TSameField<QString> kSameTexts[] = {
    { &TConfig::proxy_host, &TSettingsFields::proxyHost },
    { &TConfig::proxy_port, &TSettingsFields::proxyPort },
    { &TConfig::proxy_login, &TSettingsFields::proxyLogin },
    { &TConfig::proxy_pass, &TSettingsFields::proxyPass },
};
// clang-format on

} // namespace

TSettingsFields SettingsFields(const TConfig& config)
{
    TSettingsFields fields;
    for (const auto& same : kSameFlags)
        fields.*same.field = config.*same.config;
    for (const auto& same : kSameTexts)
        fields.*same.field = config.*same.config;
    fields.thumbSize = config.thumbbitmapwidth;
    fields.thumbBorder = config.thumbborder;
    fields.timeoutItem = TimeoutItem(config.timout);
    return fields;
}

void StoreSettingsFields(const TSettingsFields& fields, TConfig& config)
{
    for (const auto& same : kSameFlags)
        config.*same.config = fields.*same.field;
    for (const auto& same : kSameTexts)
        config.*same.config = fields.*same.field;
    // Stored as the proxy test and "OK" read them.
    const TProxyAddress proxy = ReadProxyAddress(fields.proxyHost, fields.proxyPort);
    config.proxy_host = proxy.host;
    config.proxy_port = proxy.portText;
    config.thumbbitmapwidth = fields.thumbSize;
    config.thumbbitmapheight = fields.thumbSize;
    config.thumbborder = fields.thumbBorder;
    config.timout = TimeoutOfItem(fields.timeoutItem);
}

QStringList TimeoutItems()
{
    QStringList items;
    for (int i = 0; i < kTimeoutItemCount; ++i)
        items << QStringLiteral("%1 sekund").arg((i + 1) * 10);
    return items;
}

int TimeoutOfItem(int item)
{
    return (std::clamp(item, 0, kTimeoutItemCount - 1) + 1) * kTimeoutStep;
}

int TimeoutItem(int milliseconds)
{
    if (milliseconds <= 0)
        return TimeoutItem(TConfig::kBuiltInTimeout);
    const int nearest = int((std::int64_t(milliseconds) + kTimeoutStep / 2) / kTimeoutStep) - 1;
    return std::clamp(nearest, 0, kTimeoutItemCount - 1);
}

QString SettingsProblem(const TSettingsFields& fields, bool proxyTested)
{
    if (!fields.useproxy)
        return {};
    if (!proxyTested)
        return QStringLiteral("Musisz przetestować ustawienia serwera proxy lub wyłączyć go !");
    // Read as the proxy test reads them: what passed the test passes here.
    const TProxyAddress proxy = ReadProxyAddress(fields.proxyHost, fields.proxyPort);
    if (!proxy.port)
        return QStringLiteral("Nieprawidłowy port serwera proxy !");
    if (proxy.host.isEmpty())
        return QStringLiteral("Podaj adres serwera proxy lub wyłącz go !");
    return {};
}

QStringList InstalledSkinNames()
{
    QStringList files;
    ListFiles(AppPath(QStringLiteral("skins")) + QStringLiteral("/*.vdskin"), faHidden, files);
    QStringList names;
    for (const QString& file : files)
        names << SkinListName(QFileInfo(file).fileName());
    return names;
}

QString SkinListName(const QString& fileName)
{
    return TitleCase(fileName.toLower().chopped(7));
}
