#include "account/virtualaccount.h"

#include "account/accountmanifest.h"
#include "core/coreobjects.h"
#include "core/log.h"
#include "lab/vdengine.h"
#include "net/ftpclient.h"
#include "net/ftpconnect.h"
#include "net/ftplisting.h"
#include "platform/appdir.h"
#include "platform/files.h"

#include <QFileInfo>

namespace {

const QString kNoAccount
    = QStringLiteral("Nie można się podłączyć do konta wirtualnego !\rSprawdź numer ID lub spróbuj ponownie później.");

void LogFtpFailure(const TFtpClient& ftp, const TFtpResult& result)
{
    Log("FTP ERROR: " + result.message, 0);
    if (const QString reply = ftp.LastReply(); !reply.isEmpty())
        Log("FTP ERROR: " + reply, 0);
}

// The manifest of the account the client is in, read from a fresh local copy; the failure
// message for the user when it cannot be had or the password does not open the account.
TAccountLogin ReadManifest(TFtpClient& ftp, const QString& accountId, const QString& password)
{
    TAccountLogin login;
    const QString local = LocalManifestPath();
    if (QFileInfo::exists(local)) {
        Log("Virtual account: " + local + " exists, the manifest is not downloaded over it", 3);
        login.message = kNoAccount;
        return login;
    }
    if (const TFtpResult got = ftp.Get(QLatin1String(kAccountManifestName), local); !got.ok) {
        LogFtpFailure(ftp, got);
        login.message = kNoAccount;
        return login;
    }
    const TManifestRead read = ReadAccountManifest(local);
    if (read.status != TManifestStatus::Ok) {
        Log("Virtual account " + accountId + ": " + read.problem, 3);
        login.message = read.status == TManifestStatus::Incomplete
            ? QStringLiteral("Konto wirtualne uszkodzone !\rSkontaktuj się z obsługą programu !")
            : kNoAccount;
        return login;
    }
    if (!PasswordOpensAccount(read.manifest.passDigest, password)) {
        Log("Virtual account " + accountId + ": wrong password", 2);
        login.message = QStringLiteral("To konto wymaga prawidłowego hasła !");
        return login;
    }
    login.ok = true;
    login.facts = { accountId, read.manifest.quota, read.manifest.quota };
    login.description = read.manifest.description;
    return login;
}

} // namespace

QString LocalManifestPath()
{
    return AppPath(QStringLiteral("am.vds"), FileUse::Write);
}

TAccountOpenResult OpenAccountFolder(TFtpClient& ftp, const QString& accountId)
{
    const TEngine* engine = Core().engine;
    const TFtpConnectResult connected = ConnectFtp(ftp, engine ? engine->virtual_ : QString());
    if (!connected.ok)
        return { TAccountOpen::NoConnection, connected.message };
    if (const TFtpResult entered = ftp.ChangeDir(accountId); !entered.ok) {
        LogFtpFailure(ftp, entered);
        ftp.Disconnect();
        return { TAccountOpen::NoFolder, {} };
    }
    return { TAccountOpen::Opened, {} };
}

TAccountLogin LogInToAccount(TFtpClient& ftp, const QString& accountId, const QString& password)
{
    TAccountLogin login;
    const TAccountOpenResult opened = OpenAccountFolder(ftp, accountId);
    if (opened.state == TAccountOpen::NoConnection)
        login.message = opened.message;
    else if (opened.state == TAccountOpen::NoFolder)
        login.message = kNoAccount;
    else
        login = ReadManifest(ftp, accountId, password);
    if (!DeleteFileForced(LocalManifestPath()))
        Log("Virtual account: cannot delete " + LocalManifestPath(), 3);
    if (ftp.Connected())
        ftp.Disconnect();
    return login;
}

int64_t TAccountFiles::TotalBytes() const
{
    int64_t total = 0;
    for (const int64_t size : sizes)
        total += size;
    return total;
}

TAccountFiles AccountFiles(const QList<TFtpListItem>& listing)
{
    TAccountFiles files;
    for (const TFtpListItem& item : listing) {
        if (!item.IsFile() || IsAccountManifestName(item.name))
            continue;
        files.names << item.name;
        files.sizes << std::max<int64_t>(item.size, 0);
    }
    return files;
}

TAccountDeletion DeleteAccountFiles(TFtpClient& ftp, const QStringList& names, const QList<int64_t>& sizes,
    const std::function<void(int deleted)>& done)
{
    TAccountDeletion deletion;
    for (qsizetype i = 0; i < names.size(); ++i) {
        if (IsAccountManifestName(names[i])) {
            Log("Virtual account: \"" + names[i] + "\" may be the account's manifest, not deleted", 3);
            ++deletion.failed;
            continue;
        }
        if (const TFtpResult result = ftp.Delete(names[i]); !result.ok) {
            LogFtpFailure(ftp, result);
            ++deletion.failed;
            continue;
        }
        ++deletion.deleted;
        deletion.freedBytes += i < sizes.size() ? sizes[i] : 0;
        if (done)
            done(deletion.deleted);
    }
    return deletion;
}
