#pragma once
// ConnectFtp: the one recipe for reaching the lab's FTP server (orders, virtual accounts).
#include "net/ftpclient.h"

#include <QString>

struct TFtpConnectResult {
    bool ok = false;
    QString message; // for the user when ok is false: "Nie udało się połączyć z serwerem FTP !"
};

// The lab's "tls" value as the client takes it: 0 (and below) plain, 1 when offered, 2 and
// above required.
TFtpTls FtpTlsSetting(int value);

// The user's message for a failed connection step: what TLS refused, or the general one.
QString FtpConnectMessage(const TFtpResult& failure);

// Sets the client up from the lab configuration (server, account, TLS) and the user configuration
// (time-out, passive mode, proxy when "useproxy" is on), then connects, logs in and enters
// folder, logging every step. On failure the connection is closed again and the message is
// returned for the caller to show; nothing is shown here.
TFtpConnectResult ConnectFtp(TFtpClient& client, const QString& folder);

class TEngine;
class TConfig;

// The client's settings as every connection to the lab makes them: server, account and TLS
// from the lab configuration, time-out, passive mode and proxy (when "useproxy" is on) from the
// user configuration; a proxy port that is not a number is 0. It changes nothing; the order
// upload, the virtual account, the proxy test and `vendaro-lab ftp-check` all start from it.
TFtpSettings FtpSettingsFor(const TEngine& engine, const TConfig& config);

// The lab's "host" value, "host" or "host:port", split into the client's settings.
void SetFtpHost(TFtpSettings& settings, const QString& host);
