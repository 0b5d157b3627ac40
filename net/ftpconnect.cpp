#include "net/ftpconnect.h"

#include "core/core.h"
#include "core/coreobjects.h"
#include "core/log.h"
#include "lab/listfile.h"
#include "lab/vdengine.h"

namespace {

// Logs a failed step's reason and the failure; closes what was opened.
TFtpConnectResult Failed(TFtpClient& client, const TFtpResult& result)
{
    if (!result.message.isEmpty())
        Log("FTP ERROR: " + result.message, 0);
    Log(QStringLiteral("FTP connection failed."), 0);
    client.Disconnect();
    return { false, FtpConnectMessage(result) };
}

// How the login was protected, for the log.
void LogSecurity(const TFtpSecurity& security)
{
    if (!security.plainReason.isEmpty())
        Log("FTP: going on without TLS: " + security.plainReason, 2);
    else if (security.control)
        Log("FTP: " + security.protocol + (security.data ? QStringLiteral(", data protected") : QString())
                + ", certificate " + security.subject,
            0);
}

} // namespace

TFtpTls FtpTlsSetting(int value)
{
    if (value <= 0)
        return TFtpTls::Plain;
    return value == 1 ? TFtpTls::WhenOffered : TFtpTls::Required;
}

QString FtpConnectMessage(const TFtpResult& failure)
{
    if (failure.errorClass == TFtpError::TlsRequired)
        return QStringLiteral("Serwer FTP laboratorium nie oferuje bezpiecznego połączenia (TLS) !\rNic nie zostało "
                              "wysłane bez szyfrowania.");
    if (failure.errorClass == TFtpError::TlsProxy)
        return QStringLiteral("Wybrany sposób łączenia przez serwer proxy nie pozwala na bezpieczne połączenie (TLS) z "
                              "serwerem FTP laboratorium !\rNic nie zostało wysłane bez szyfrowania. Zmień ustawienia "
                              "\"połączenie z internetem\".");
    if (failure.errorClass == TFtpError::Tls)
        return QStringLiteral("Nie udało się nawiązać bezpiecznego połączenia (TLS) z serwerem FTP laboratorium !\r"
                              "Certyfikat serwera nie został potwierdzony lub połączenie zostało przerwane.");
    return QStringLiteral("Nie udało się połączyć z serwerem FTP !");
}

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

TFtpSettings FtpSettingsFor(const TEngine& engine, const TConfig& config)
{
    TFtpSettings settings;
    SetFtpHost(settings, engine.host);
    settings.user = engine.user;
    settings.password = engine.pass;
    settings.readTimeoutMs = config.NetworkTimeout();
    settings.passive = config.passive;
    settings.tls = FtpTlsSetting(engine.tls);
    settings.useProxy = config.useproxy;
    if (config.useproxy) {
        settings.proxyHost = config.proxy_host;
        settings.proxyPort = ParseDecimalField(config.proxy_port).value_or(0);
        settings.proxyType = config.proxy_ftp_type;
        settings.proxyUser = config.proxy_login;
        settings.proxyPassword = config.proxy_pass;
    }
    return settings;
}

TFtpConnectResult ConnectFtp(TFtpClient& client, const QString& folder)
{
    const TEngine* engine = Core().engine;
    const TConfig* config = Core().config;
    if (!engine || !config)
        return Failed(client, { false, TFtpError::NotReady, QStringLiteral("No lab or user configuration") });
    // A proxy port that is not a number keeps the port this client had.
    const int previousProxyPort = client.Settings().proxyPort;
    client.Settings() = FtpSettingsFor(*engine, *config);
    if (config->useproxy) {
        Log("Using proxy: " + config->proxy_host + ":" + config->proxy_port, 0);
        if (!ParseDecimalField(config->proxy_port)) {
            Log(QStringLiteral("Exception, proxy port not an integer"), 0);
            client.Settings().proxyPort = previousProxyPort;
        }
    }

    Log("Connecting \"" + engine->host + "\" ...", 0);
    if (const TFtpResult result = client.Connect(); !result.ok)
        return Failed(client, result);
    Log(QStringLiteral("Connected."), 0);
    Log(QStringLiteral("Attepting to login ..."), 0);
    if (const TFtpResult result = client.Login(); !result.ok)
        return Failed(client, result);
    LogSecurity(client.Security());
    Log(QStringLiteral("Logged in."), 0);
    Log("Entering order directory (\"" + folder + "\") ...", 0);
    if (const TFtpResult result = client.ChangeDir(folder); !result.ok)
        return Failed(client, result);
    Log(QStringLiteral("FTP ready."), 0);
    return { true, {} };
}
