#include "net/proxytest.h"

#include "core/core.h"
#include "core/coreobjects.h"
#include "lab/listfile.h"
#include "lab/vdengine.h"
#include "net/ftpclient.h"
#include "net/ftpconnect.h"
#include "net/httpclient.h"
#include "platform/timeutils.h"

#include <QElapsedTimer>
#include <QTemporaryDir>

namespace {

// Both steps wait this long for an answer, whatever the user's time-out.
constexpr int kProxyTestTimeoutMs = 10000;
// The maker's page is an ordinary web page; a larger answer is not worth downloading here.
constexpr qint64 kMakerPageMaxBytes = qint64(8) << 20;
// FTP proxy login methods tried, TFtpProxyType::None to TFtpProxyType::UserPass.
constexpr int kFtpProxyModes = 5;

void Tell(const std::function<void(const QString&)>& to, const QString& text)
{
    if (to)
        to(text);
}

// The proxy and the test's time-out for the maker's page.
void UseProxy(THttpSettings& settings, const TProxyTestInput& input, const TProxyAddress& proxy)
{
    settings.readTimeoutMs = kProxyTestTimeoutMs;
    settings.useProxy = true;
    settings.proxyHost = proxy.host;
    settings.proxyPort = proxy.port.value_or(0);
    settings.proxyUser = input.login;
    settings.proxyPassword = input.password;
}

// The maker's page fetched through the proxy with the proxy's Basic authentication.
THttpResult FetchThroughProxy(const QString& url, const TProxyTestInput& input, const TProxyAddress& proxy)
{
    THttpSettings settings;
    UseProxy(settings, input, proxy);
    settings.maxBodyBytes = kMakerPageMaxBytes;
    const QTemporaryDir scratch; // the page itself is not kept
    if (!scratch.isValid())
        return { false, QStringLiteral("EWriteFile"), "No temporary folder: " + scratch.errorString() };
    THttpClient client;
    return client.Get(url, scratch.filePath(QStringLiteral("page.html")), settings);
}

// The lab's FTP server reached with each login method in turn. Connect failing means the
// method cannot reach anything, and a refused login that this proxy wants another method; a
// refused listing after a login means the proxy carries no data, which no method changes. With
// the lab's TLS setting, a method that cannot carry TLS (or a server without it) fails like a
// refused login, and when no method works the user is told why TLS stopped it.
TProxyTestResult TestFtp(
    const TEngine& engine, const TProxyTestInput& input, const TProxyAddress& proxy, const TProxyTestListener& listener)
{
    // The connection page's fields, not stored yet, in place of the user's configuration.
    TConfig typed;
    typed.useproxy = true;
    typed.proxy_host = proxy.host;
    typed.proxy_port = proxy.portText;
    typed.proxy_login = input.login;
    typed.proxy_pass = input.password;
    typed.passive = true;
    TFtpClient client;
    TFtpSettings& settings = client.Settings();
    settings = FtpSettingsFor(engine, typed);
    settings.readTimeoutMs = kProxyTestTimeoutMs;

    bool connected = false;
    QString tlsRefusal; // the message of the last method that TLS stopped
    for (int mode = 0; mode < kFtpProxyModes; ++mode) {
        Tell(listener.ftpLine, QStringLiteral("Testowanie serwera proxy do FTP (%1/5) ...").arg(mode + 1));
        settings.proxyType = mode;
        if (!client.Connect().ok) {
            client.Disconnect();
            continue;
        }
        connected = true;
        Tell(listener.ftpLine, QStringLiteral("Połączenie FTP powiodło się, testuję połączenie ..."));
        if (const TFtpResult login = client.Login(); !login.ok) {
            if (IsTlsFailure(login.errorClass))
                tlsRefusal = FtpConnectMessage(login);
            client.Disconnect();
            continue;
        }
        QList<TFtpListItem> items;
        const bool listed = client.List(&items).ok;
        client.Disconnect();
        if (!listed)
            break;
        Tell(listener.ftpLine, QStringLiteral("Połączenie FTP poprzez proxy wygląda OK !"));
        if (TConfig* config = Core().config)
            config->proxy_ftp_type = mode;
        return { true, mode };
    }
    if (!tlsRefusal.isEmpty()) {
        Tell(listener.ftpLine, {});
        Tell(listener.error, tlsRefusal);
        return {};
    }
    if (connected) {
        Tell(listener.ftpLine,
            QStringLiteral(
                "Serwer proxy pozwolił na połączenie ale NIE pozwolił na transfer. Ten typ serwera proxy nie "
                "jest obsługiwany."));
        return {};
    }
    Tell(listener.ftpLine, {});
    Tell(listener.error,
        QStringLiteral("Nie udało się nawiązać połączenia do serwera FTP poprzez proxy !\rJeśli wszystkie informacje "
                       "zostały poprawnie podane, serwer proxy może nie obsługiwać połączeń FTP, może być niedostępny "
                       "lub nie być obsługiwany przez ten program."));
    return {};
}

} // namespace

TProxyAddress ReadProxyAddress(const QString& host, const QString& port)
{
    TProxyAddress proxy { host.trimmed(), port.trimmed(), std::nullopt };
    if (const std::optional<int> number = ParseDecimalField(proxy.portText); number && *number >= 1 && *number <= 65535)
        proxy.port = number;
    return proxy;
}

TProxyTestResult RunProxyTest(
    const TProxyTestInput& input, const TProxyTestListener& listener, const QString& makerPage)
{
    const TProxyAddress proxy = ReadProxyAddress(input.host, input.port);
    if (proxy.host.isEmpty()) {
        Tell(listener.error, QStringLiteral("Podaj serwer proxy !"));
        return {};
    }
    if (!proxy.port) {
        Tell(listener.error, QStringLiteral("Podaj prawidłowy port !"));
        return {};
    }

    Tell(listener.httpLine, QStringLiteral("Testowanie połączenia HTTP (www) ..."));
    QElapsedTimer elapsed;
    elapsed.start();
    const THttpResult page
        = FetchThroughProxy(makerPage.isEmpty() ? QStringLiteral(VENDARO_MAKER_PAGE) : makerPage, input, proxy);
    if (!page.ok) {
        Tell(listener.error, "Nie udało się nawiązać połączenia poprzez proxy !\rWiadomość: " + page.message);
        Tell(listener.httpLine, {});
        return {};
    }
    Tell(listener.httpLine,
        "Połączenie powiodło się (www) ! Odpowiedź nastąpiła w ciągu: " + FormatElapsedMs(elapsed.elapsed()));

    const TEngine* engine = Core().engine;
    if (!engine || engine->host.isEmpty()) {
        Tell(listener.information,
            QStringLiteral("Testowanie połączenia FTP (poprzez proxy) nie zostanie wykonane \rponieważ aplikacja nie "
                           "jest zainicjowana."));
        return { true, -1 };
    }
    return TestFtp(*engine, input, proxy, listener);
}
