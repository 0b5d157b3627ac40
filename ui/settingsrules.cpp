#include "ui/settingsrules.h"

#include "core/core.h"
#include "core/textutils.h"
#include "lab/listfile.h"
#include "platform/appdir.h"
#include "platform/files.h"

#include <QFileInfo>

#include <algorithm>

namespace {

constexpr int kTimeoutStep = 10000;
constexpr int kTimeoutItemCount = 6;

} // namespace

TSettingsFields SettingsFields(const TConfig& config)
{
    TSettingsFields fields;
    fields.fexit = config.fexit;
    fields.fdelete = config.fdelete;
    fields.fPickDefFormat = config.fPickDefFormat;
    fields.fShowTip = config.fShowTip;
    fields.thumbSize = config.thumbbitmapwidth;
    fields.thumbBorder = config.thumbborder;
    fields.thumbname = config.thumbname;
    fields.thumbsize = config.thumbsize;
    fields.thumbprice = config.thumbprice;
    fields.thumbresolution = config.thumbresolution;
    fields.passive = config.passive;
    fields.timeoutItem = TimeoutItem(config.timout);
    fields.useproxy = config.useproxy;
    fields.proxyHost = config.proxy_host;
    fields.proxyPort = config.proxy_port;
    fields.proxyLogin = config.proxy_login;
    fields.proxyPass = config.proxy_pass;
    return fields;
}

void StoreSettingsFields(const TSettingsFields& fields, TConfig& config)
{
    config.fexit = fields.fexit;
    config.fdelete = fields.fdelete;
    config.fPickDefFormat = fields.fPickDefFormat;
    config.fShowTip = fields.fShowTip;
    config.thumbname = fields.thumbname;
    config.thumbsize = fields.thumbsize;
    config.thumbprice = fields.thumbprice;
    config.thumbresolution = fields.thumbresolution;
    config.thumbbitmapwidth = fields.thumbSize;
    config.thumbbitmapheight = fields.thumbSize;
    config.thumbborder = fields.thumbBorder;
    config.passive = fields.passive;
    config.timout = TimeoutOfItem(fields.timeoutItem);
    config.useproxy = fields.useproxy;
    config.proxy_host = fields.proxyHost;
    config.proxy_port = fields.proxyPort;
    config.proxy_login = fields.proxyLogin;
    config.proxy_pass = fields.proxyPass;
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
    // The clients read the port the same way (a port they cannot read would be no port).
    if (!ParseDecimalField(fields.proxyPort))
        return QStringLiteral("Nieprawidłowy port serwera proxy !");
    if (fields.proxyHost.isEmpty())
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
