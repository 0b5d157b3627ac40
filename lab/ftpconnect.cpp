#include "lab/ftpconnect.h"

#include "core/core.h"
#include "core/coreobjects.h"
#include "core/log.h"
#include "lab/listfile.h"
#include "lab/vdengine.h"

namespace {

void ApplyProxy(TFtpSettings& settings, const TConfig& config)
{
    settings.useProxy = config.useproxy; // off takes effect at once
    if (!config.useproxy)
        return;
    Log("Using proxy: " + config.proxy_host + ":" + config.proxy_port, 0);
    settings.proxyHost = config.proxy_host;
    if (const std::optional<int> port = ParseDecimalField(config.proxy_port))
        settings.proxyPort = *port;
    else
        Log(QStringLiteral("Exception, proxy port not an integer"), 0); // the previous port stays
    settings.proxyType = config.proxy_ftp_type;
    settings.proxyUser = config.proxy_login;
    settings.proxyPassword = config.proxy_pass;
}

// Logs a failed step's reason and the failure; closes what was opened.
TFtpConnectResult Failed(TFtpClient& client, const TFtpResult& result)
{
    if (!result.message.isEmpty())
        Log("FTP ERROR: " + result.message, 0);
    Log(QStringLiteral("FTP connection failed."), 0);
    client.Disconnect();
    return { false, QStringLiteral("Nie udało się połączyć z serwerem FTP !") };
}

} // namespace

void SetFtpHost(TFtpSettings& settings, const QString& host)
{
    settings.host = host;
    settings.port = TFtpSettings::kDefaultPort;
    const qsizetype colon = host.lastIndexOf(u':');
    if (colon <= 0 || host.indexOf(u':') != colon)
        return; // no port, or an IPv6 address
    if (const std::optional<int> port = ParseDecimalField(host.mid(colon + 1))) {
        settings.host = host.left(colon);
        settings.port = *port;
    }
}

TFtpConnectResult ConnectFtp(TFtpClient& client, const QString& folder)
{
    const TEngine* engine = Core().engine;
    const TConfig* config = Core().config;
    if (!engine || !config)
        return Failed(client, { false, QStringLiteral("ENotReady"), QStringLiteral("No lab or user configuration") });
    TFtpSettings& settings = client.Settings();
    SetFtpHost(settings, engine->host);
    settings.user = engine->user;
    settings.password = engine->pass;
    settings.readTimeoutMs = config->NetworkTimeout();
    settings.passive = config->passive;
    ApplyProxy(settings, *config);

    Log("Connecting \"" + engine->host + "\" ...", 0);
    if (const TFtpResult result = client.Connect(); !result.ok)
        return Failed(client, result);
    Log(QStringLiteral("Connected."), 0);
    Log(QStringLiteral("Attepting to login ..."), 0);
    if (const TFtpResult result = client.Login(); !result.ok)
        return Failed(client, result);
    Log(QStringLiteral("Logged in."), 0);
    Log("Entering order directory (\"" + folder + "\") ...", 0);
    if (const TFtpResult result = client.ChangeDir(folder); !result.ok)
        return Failed(client, result);
    Log(QStringLiteral("FTP ready."), 0);
    return { true, {} };
}
