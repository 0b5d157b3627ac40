#include "net/quietget.h"

#include "core/core.h"
#include "core/coreobjects.h"
#include "core/log.h"
#include "lab/listfile.h"
#include "lab/md5.h"
#include "lab/vdengine.h"
#include "platform/files.h"

namespace {

// The client's settings stay between calls, as a component's properties would: a proxy
// port that is not a number keeps the port of the previous request.
THttpSettings& ClientSettings()
{
    static THttpSettings settings;
    return settings;
}

void ApplyUserAndLabSettings(THttpSettings& settings)
{
    if (const TEngine* engine = Core().engine) {
        settings.user = engine->user;
        settings.password = MD5Hex(engine->pass);
    }
    const TConfig* config = Core().config;
    if (!config)
        return;
    settings.readTimeoutMs = config->NetworkTimeout();
    settings.useProxy = config->useproxy;
    if (!config->useproxy)
        return;
    Log("Using proxy: " + config->proxy_host + ":" + config->proxy_port);
    settings.proxyPassword = config->proxy_pass;
    if (const auto port = ParseDecimalField(config->proxy_port))
        settings.proxyPort = *port;
    else
        Log(QStringLiteral("Proxy Port not integer !"), 3);
    settings.proxyHost = config->proxy_host;
    settings.proxyUser = config->proxy_login;
}

} // namespace

THttpClient& HttpClient()
{
    static THttpClient client;
    return client;
}

bool QuietGetHTTP(const QString& url, const QString& targetFile, qint64 maxBytes)
{
    Log("QuietGetHTTP from " + url + " to " + targetFile);
    THttpSettings& settings = ClientSettings();
    ApplyUserAndLabSettings(settings);
    settings.maxBodyBytes = maxBytes;
    const THttpResult result = HttpClient().Get(url, targetFile, settings);
    if (result.ok)
        return true;
    Log("Transfer failed: " + result.errorClass + ":" + result.message, 3);
    DeleteFileForced(targetFile);
    return false;
}
