// vendaro-lab ftp-check KIT
//
// Connects to the lab's FTP server as the customer's program does (the kit's stamped engine.ini
// and its tls setting, the program's default connection settings) and tries everything an order
// needs with a small probe file. One line per finding; exit status 0 only when all of it works.
#include "tools/vendaro-lab/labcommand.h"

#include "core/core.h"
#include "core/textutils.h"
#include "lab/vdengine.h"
#include "net/ftpclient.h"
#include "net/ftpconnect.h"
#include "platform/appdir.h"
#include "platform/files.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <algorithm>
#include <optional>

namespace {

constexpr qint64 kProbeBytes = qint64(64) << 10;
constexpr qint64 kResumeAt = kProbeBytes / 2;

// The program folder of a kit (KIT/program) or the folder itself.
QString ProgramFolder(const QString& kit)
{
    const QString program = QDir(kit).filePath("program");
    return QFileInfo::exists(program + "/config/engine.ini") ? program : kit;
}

void Finding(const QString& what, const QString& text)
{
    LabPrint(what + ": " + text);
}

int Failed(const QString& what, const QString& why)
{
    Finding(what, "FAILED, " + why);
    return LabFail("ftp-check: " + what + " failed");
}

QString Reason(const TFtpResult& result, const TFtpClient& client)
{
    const QString reply = client.LastReply();
    return reply.isEmpty() || result.message.contains(reply) ? result.message : result.message + " (" + reply + ")";
}

bool WriteProbe(const QString& path, qint64 size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (qint64 i = 0; i < size; ++i)
        bytes[i] = char('a' + i % 26);
    return WriteFileAtomically(path, bytes);
}

// How the login was protected, as the TLS finding says it; nothing when TLS is off.
QString TlsFinding(const TFtpSecurity& security, int tls)
{
    if (tls <= 0)
        return QStringLiteral("off (engine.ini tls=0): orders and the lab's password travel in clear text");
    if (!security.control)
        return "not offered, tls=1 goes on in clear text: " + security.plainReason;
    return "ok, " + security.protocol + ", certificate " + security.subject
        + (security.data ? QStringLiteral(", data connections protected") : ", data connections in clear text");
}

int RunFtpCheck(const QStringList& args)
{
    if (args.size() != 1)
        return LabFail(QStringLiteral("usage: vendaro-lab ftp-check KIT"));
    SetAppDir(ProgramFolder(args.front()));
    TEngine engine;
    if (engine.LoadLabConfig() != TEngine::kLoaded)
        return LabFail(AppDir() + "/config/engine.ini does not load (a missing file, a bad stamp or a missing value)");
    const TConfig config; // the program's connection settings before the customer changes any
    TFtpClient client;
    client.Settings() = FtpSettingsFor(engine, config);
    const TFtpSettings& settings = client.Settings();

    const QString server = settings.host + u':' + QString::number(settings.port);
    if (const TFtpResult result = client.Connect(); !result.ok)
        return Failed(QStringLiteral("connection"), server + ": " + Reason(result, client));
    Finding(QStringLiteral("connection"), "ok, " + server + " answers \"" + client.LastReply() + u'"');

    const TFtpResult login = client.Login();
    if (!login.ok && IsTlsFailure(login.errorClass))
        return Failed(QStringLiteral("TLS"), Reason(login, client) + "; the password was not sent");
    Finding(QStringLiteral("TLS"), TlsFinding(client.Security(), engine.tls));
    if (!login.ok)
        return Failed(QStringLiteral("login"), settings.user + ": " + Reason(login, client));
    Finding(QStringLiteral("login"), "ok, " + settings.user);
    if (const TFtpResult result = client.ChangeDir(engine.orderpath); !result.ok)
        return Failed(QStringLiteral("folder"), engine.orderpath + ": " + Reason(result, client));
    Finding(QStringLiteral("folder"), "ok, " + engine.orderpath);

    QTemporaryDir local;
    const QString probe = QStringLiteral("vendaro-check-%1.txt").arg(RandomHex(8).toLower());
    const QString whole = local.filePath(probe), half = local.filePath("half");
    if (!local.isValid() || !WriteProbe(whole, kProbeBytes) || !WriteProbe(half, kResumeAt))
        return LabFail(QStringLiteral("ftp-check: no temporary folder for the probe"));
    const auto removeProbe = [&] { client.Delete(probe); };
    if (const TFtpResult result = client.Put(whole, probe); !result.ok)
        return Failed(QStringLiteral("upload"), probe + ": " + Reason(result, client));
    const TFtpSecurity& security = client.Security();
    Finding(QStringLiteral("upload"),
        QStringLiteral("ok, %1 (%2 bytes)").arg(probe).arg(kProbeBytes)
            + (security.data
                    ? (security.dataSessionReused ? QStringLiteral(", the data connection reused the TLS session")
                                                  : QStringLiteral(", the data connection began a new TLS session"))
                    : QString()));

    std::optional<qint64> size;
    if (const TFtpResult result = client.Size(probe, &size); !result.ok || size != kProbeBytes) {
        removeProbe();
        return Failed(QStringLiteral("SIZE"),
            result.ok ? QStringLiteral("%1 bytes instead of %2")
                            .arg(size ? QString::number(*size) : "no size")
                            .arg(kProbeBytes)
                      : Reason(result, client));
    }
    Finding(QStringLiteral("SIZE"), QStringLiteral("ok, %1 bytes").arg(kProbeBytes));

    if (!client.Features().restStream) {
        Finding(QStringLiteral("REST"),
            QStringLiteral("not offered (FEAT has no REST STREAM): a broken upload starts again"));
    } else if (const TFtpResult first = client.Put(half, probe); !first.ok) {
        removeProbe();
        return Failed(QStringLiteral("REST"), "the first half of the probe: " + Reason(first, client));
    } else if (const TFtpResult rest = client.Put(whole, probe, kResumeAt); !rest.ok) {
        if (rest.errorClass != TFtpError::ResumeRefused) {
            removeProbe();
            return Failed(QStringLiteral("REST"), Reason(rest, client));
        }
        Finding(QStringLiteral("REST"), "refused, a broken upload starts again: " + Reason(rest, client));
        client.Put(whole, probe);
    } else if (!client.Size(probe, &size).ok || size != kProbeBytes) {
        removeProbe();
        return Failed(QStringLiteral("REST"), QStringLiteral("the resumed probe is not whole on the server"));
    } else {
        Finding(QStringLiteral("REST"),
            QStringLiteral("ok, resumed at %1 bytes, %2 bytes whole").arg(kResumeAt).arg(kProbeBytes));
    }

    QList<TFtpListItem> items;
    if (const TFtpResult result = client.List(&items); !result.ok) {
        removeProbe();
        return Failed(QStringLiteral("listing"), Reason(result, client));
    }
    const bool listed = std::any_of(items.begin(), items.end(),
        [&](const TFtpListItem& item) { return item.name == probe && (item.size < 0 || item.size == kProbeBytes); });
    if (!listed) {
        removeProbe();
        return Failed(QStringLiteral("listing"), probe + " is not listed with its size");
    }
    Finding(QStringLiteral("listing"),
        QStringLiteral("ok, %1 items (%2)").arg(items.size()).arg(client.Features().mlsd ? "MLSD" : "LIST"));

    if (const TFtpResult result = client.Delete(probe); !result.ok)
        return Failed(QStringLiteral("delete"), probe + ": " + Reason(result, client));
    Finding(QStringLiteral("delete"), "ok, " + probe);
    client.Disconnect();
    return 0;
}

const LabCommand command(QStringLiteral("ftp-check"), QStringLiteral("ftp-check KIT"),
    QStringLiteral("Checks the lab's FTP server as the customer's program reaches it: reads KIT's\n"
                   "program folder (config/engine.ini, which must carry a valid stamp, and its tls\n"
                   "setting), connects, logs in, enters the order folder, uploads a small probe,\n"
                   "verifies it by SIZE, resumes an upload (REST), lists the folder and deletes\n"
                   "the probe. One line per finding: connection, TLS (protocol, certificate,\n"
                   "session reuse), login, folder, upload, SIZE, REST, listing, delete. Exit\n"
                   "status 0 only when everything an order needs works; else 1, naming the first\n"
                   "thing that failed. With tls=2 a server without TLS fails before the password."),
    RunFtpCheck);

} // namespace
