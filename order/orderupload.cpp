#include "order/orderupload.h"

#include "core/log.h"
#include "lab/ftpclient.h"
#include "lab/ftpconnect.h"
#include "platform/files.h"
#include "platform/timeutils.h"

#include <QElapsedTimer>
#include <QFileInfo>

namespace {

const QString kTooManyErrors = QStringLiteral("Zbyt wiele błędów podczas wysyłania zlecenia !\rZlecenie nie zostało "
                                              "wysłane !\rJeśli problem będzie się powtarzał spróbuj ustawień "
                                              "\"połączenie z internetem\".");
const QString kConnectionLost = QStringLiteral("Połączenie z internetem zostało utracone !\rZlecenie nie zostało "
                                               "wysłane !\rJeśli problem będzie się powtarzał spróbuj ustawień "
                                               "\"połączenie z internetem\".");

// The client's work listener for the length of an upload, restored afterwards.
class WorkListenerScope {
public:
    WorkListenerScope(TFtpClient& client, TFtpWorkListener listener)
        : client_(client)
        , saved_(client.WorkListener())
    {
        client_.SetWorkListener(std::move(listener));
    }
    ~WorkListenerScope() { client_.SetWorkListener(std::move(saved_)); }
    WorkListenerScope(const WorkListenerScope&) = delete;
    WorkListenerScope& operator=(const WorkListenerScope&) = delete;

private:
    TFtpClient& client_;
    TFtpWorkListener saved_;
};

void Notify(const auto& callback, const auto&... args)
{
    if (callback)
        callback(args...);
}

} // namespace

TUploadProgress UploadProgress(qint64 fileBytes, qint64 sentBytes, qint64 totalBytes, qint64 elapsedMs)
{
    TUploadProgress progress { fileBytes, fileBytes + sentBytes, totalBytes, 100, {} };
    if (totalBytes > 0)
        progress.percent = int(progress.doneBytes * 100 / totalBytes);
    const qint64 kbDone = progress.doneBytes / 1024;
    if (kbDone > 0) {
        const qint64 total = totalBytes / 1024 * elapsedMs / kbDone;
        progress.timeLeft = FormatElapsed(total - elapsedMs);
    }
    return progress;
}

QString UploadRemoteName(const QString& path)
{
    return QFileInfo(path).fileName().toLower();
}

bool UploadOrderFile(TFtpClient& client, const QString& path)
{
    const QString remoteName = UploadRemoteName(path);
    TFtpResult result = client.Put(path, remoteName);
    if (result.ok) {
        std::optional<qint64> remoteSize;
        result = client.Size(remoteName, &remoteSize);
        if (!result.ok && result.errorClass == QLatin1String("EFtpReply")) {
            // A folder the account may only write to refuses SIZE; the server's word stands.
            Log("FTP: " + remoteName + " not checked on the server: " + result.message, 2);
            result.ok = true;
        }
        const qint64 localSize = FileSize64(path);
        if (result.ok && remoteSize && *remoteSize != localSize)
            result = { false, QStringLiteral("ESizeMismatch"),
                QStringLiteral("%1 holds %2 bytes on the server instead of %3")
                    .arg(remoteName, QString::number(*remoteSize), QString::number(localSize)) };
    }
    if (result.ok)
        return true;
    Log("FTP ERROR: " + result.message, 0);
    if (const QString reply = client.LastReply(); !reply.isEmpty())
        Log("FTP ERROR: " + reply, 0);
    client.Delete(remoteName);
    return false;
}

TUploadResult UploadOrder(
    TFtpClient& client, const QStringList& files, const QString& folder, const TUploadListener& listener)
{
    TUploadResult upload;
    for (const QString& file : files)
        upload.totalBytes += std::max<qint64>(FileSize64(file), 0);
    QElapsedTimer sinceStart;
    sinceStart.start();
    const WorkListenerScope scope(client,
        { [&listener](qint64 total) { Notify(listener.fileBegin, total); },
            [&](qint64 c) {
                Notify(listener.progress, UploadProgress(c, upload.sentBytes, upload.totalBytes, sinceStart.elapsed()));
            },
            [&listener] { Notify(listener.fileEnd); } });

    for (qsizetype i = 0; i < files.size();) {
        if (UploadOrderFile(client, files[i])) {
            upload.sentBytes += std::max<qint64>(FileSize64(files[i]), 0);
            Notify(listener.fileSent, upload.sentBytes);
            ++i;
            continue;
        }
        ++upload.failures;
        if (upload.failures >= kMaxUploadFailures) {
            client.Disconnect();
            Notify(listener.error, kTooManyErrors);
            return upload;
        }
        Notify(listener.retrying, upload.failures,
            QStringLiteral("Wystąpił błąd połączenia, próba ponowienia: %1").arg(upload.failures));
        client.Disconnect();
        const TFtpConnectResult again = ConnectFtp(client, folder);
        if (!again.ok) {
            Notify(listener.error, again.message);
            Notify(listener.error, kConnectionLost);
            return upload;
        }
    }
    client.Disconnect();
    upload.sent = true;
    return upload;
}
