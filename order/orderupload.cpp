#include "order/orderupload.h"

#include "core/log.h"
#include "net/ftpclient.h"
#include "net/ftpconnect.h"
#include "platform/files.h"
#include "platform/timeutils.h"

#include <QElapsedTimer>
#include <QFileInfo>

#include <algorithm>
#include <optional>

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

namespace {

// A failure after which part of the file may be on the server: the connection broke.
bool BrokeOff(const TFtpResult& result)
{
    switch (result.errorClass) {
    case TFtpError::DataConnection:
    case TFtpError::Timeout:
    case TFtpError::Connection:
    case TFtpError::Network:
        return true;
    default:
        return false;
    }
}

// Put from offset; a server that will not resume gets the whole file.
TFtpResult PutFrom(TFtpClient& client, const QString& path, const QString& remoteName, qint64 offset)
{
    TFtpResult result = client.Put(path, remoteName, offset);
    if (!result.ok && result.errorClass == TFtpError::ResumeRefused) {
        Log("FTP: " + remoteName + " sent again whole: " + result.message, 2);
        result = client.Put(path, remoteName);
    }
    return result;
}

} // namespace

TFileUpload SendOrderFile(TFtpClient& client, const QString& path, qint64 offset)
{
    const QString remoteName = UploadRemoteName(path);
    TFtpResult result = PutFrom(client, path, remoteName, offset);
    if (result.ok) {
        std::optional<qint64> remoteSize;
        result = client.Size(remoteName, &remoteSize);
        if (!result.ok && result.errorClass == TFtpError::FtpReply) {
            // A folder the account may only write to refuses SIZE; the server's word stands.
            Log("FTP: " + remoteName + " not checked on the server: " + result.message, 2);
            result.ok = true;
        }
        const qint64 localSize = FileSize64(path);
        if (result.ok && remoteSize && *remoteSize != localSize)
            result = { false, TFtpError::SizeMismatch,
                QStringLiteral("%1 holds %2 bytes on the server instead of %3")
                    .arg(remoteName, QString::number(*remoteSize), QString::number(localSize)) };
    }
    if (result.ok)
        return TFileUpload::Sent;
    Log("FTP ERROR: " + result.message, 0);
    if (const QString reply = client.LastReply(); !reply.isEmpty())
        Log("FTP ERROR: " + reply, 0);
    if (BrokeOff(result) && client.Features().restStream) {
        Log("FTP: " + remoteName + " kept on the server, to be resumed", 0);
        return TFileUpload::Broken;
    }
    client.Delete(remoteName);
    return TFileUpload::Failed;
}

bool UploadOrderFile(TFtpClient& client, const QString& path)
{
    switch (SendOrderFile(client, path, 0)) {
    case TFileUpload::Sent:
        return true;
    case TFileUpload::Broken:
        client.Delete(UploadRemoteName(path));
        return false;
    case TFileUpload::Failed:
        return false;
    }
    return false;
}

namespace {

// The size of path's remote file, when the server tells it.
std::optional<qint64> RemoteSize(TFtpClient& client, const QString& path)
{
    std::optional<qint64> size;
    if (!client.Size(UploadRemoteName(path), &size).ok)
        return std::nullopt;
    return size;
}

// Where an attempt at path can begin when the server's copy has held bytes.
qint64 ResumePointOf(const TFtpClient& client, const QString& path, std::optional<qint64> held)
{
    if (!client.Features().restStream || !held)
        return 0;
    return *held <= FileSize64(path) ? *held : 0; // a larger file is not a part of this one
}

} // namespace

qint64 RemoteResumePoint(TFtpClient& client, const QString& path)
{
    if (!client.Features().restStream)
        return 0;
    return ResumePointOf(client, path, RemoteSize(client, path));
}

TUploadResult UploadOrder(TFtpClient& client, const QStringList& files, const QString& folder,
    const TUploadListener& listener, const TUploadStart& start)
{
    TUploadResult upload;
    for (const QString& file : files)
        upload.totalBytes += std::max<qint64>(FileSize64(file), 0);
    const qsizetype verified = std::clamp<qsizetype>(start.verified, 0, files.size());
    for (qsizetype i = 0; i < verified; ++i)
        upload.sentBytes += std::max<qint64>(FileSize64(files[i]), 0);
    QElapsedTimer sinceStart;
    sinceStart.start();
    const WorkListenerScope scope(client,
        { [&listener](qint64 total) { Notify(listener.fileBegin, total); },
            [&](qint64 c) {
                Notify(listener.progress, UploadProgress(c, upload.sentBytes, upload.totalBytes, sinceStart.elapsed()));
            },
            [&listener] { Notify(listener.fileEnd); } });

    int stalled = 0; // failed attempts since the last progress
    bool resumable = false; // the last attempt at file i broke, its part stays on the server
    qint64 attemptBegan = 0; // where in file i that attempt began
    bool lookUp = start.askServer; // file i is not tried yet in this run: ask the server first
    for (qsizetype i = verified; i < files.size();) {
        qint64 offset = 0;
        if (lookUp) {
            lookUp = false;
            const std::optional<qint64> held = RemoteSize(client, files[i]);
            const qint64 localSize = std::max<qint64>(FileSize64(files[i]), 0);
            if (held && *held == localSize) {
                Log("FTP: " + UploadRemoteName(files[i]) + " is on the server whole, not sent again", 0);
                upload.sentBytes += localSize;
                upload.heldBytes += localSize;
                lookUp = start.askServer;
                ++i;
                Notify(listener.fileSent, int(i), upload.sentBytes);
                continue;
            }
            offset = ResumePointOf(client, files[i], held);
            if (offset > 0)
                Log(QStringLiteral("FTP: resuming %1 at %2 bytes")
                        .arg(UploadRemoteName(files[i]), QString::number(offset)),
                    0);
        } else if (resumable) {
            offset = RemoteResumePoint(client, files[i]);
            if (offset > attemptBegan)
                stalled = 0;
            if (offset > 0)
                Log(QStringLiteral("FTP: resuming %1 at %2 bytes")
                        .arg(UploadRemoteName(files[i]), QString::number(offset)),
                    0);
        }
        const TFileUpload outcome = SendOrderFile(client, files[i], offset);
        if (outcome == TFileUpload::Sent) {
            upload.sentBytes += std::max<qint64>(FileSize64(files[i]), 0);
            upload.resumedBytes += offset;
            resumable = false;
            lookUp = start.askServer;
            ++i;
            Notify(listener.fileSent, int(i), upload.sentBytes);
            continue;
        }
        resumable = outcome == TFileUpload::Broken;
        attemptBegan = offset;
        ++upload.failures;
        if (++stalled >= kMaxUploadFailures) {
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
