#pragma once
// A virtual account on the lab's FTP server: the folder named by the account's ID inside the
// lab's virtual-account folder. Window-free: the login window and the account browser show
// what these return.
#include "account/accountfacts.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>

class TFtpClient;
struct TFtpListItem;

// Where a login attempt keeps its copy of the manifest (deleted when the attempt ends).
QString LocalManifestPath();

enum class TAccountOpen {
    Opened, // connected, in the account's folder
    NoConnection, // ConnectFtp failed; message holds its text
    NoFolder, // the account's folder could not be entered; disconnected
};

struct TAccountOpenResult {
    TAccountOpen state = TAccountOpen::NoConnection;
    QString message; // ConnectFtp's message for the user with NoConnection
};

// ConnectFtp into the lab's "virtual" folder, then into the account's folder.
TAccountOpenResult OpenAccountFolder(TFtpClient& ftp, const QString& accountId);

struct TAccountLogin {
    bool ok = false;
    QString message; // for the user when ok is false
    TAccountFacts facts; // ID, quota, and free = quota (the browser counts the files)
    QString description;
};

// A login attempt on an account whose ID has been checked (IsValidAccountId): connect, enter
// the account, download its manifest to LocalManifestPath() (an existing copy fails the
// download, nothing is overwritten), read it and check password (exactly as typed). Whatever
// happens, the local copy is deleted and the connection closed before this returns.
TAccountLogin LogInToAccount(TFtpClient& ftp, const QString& accountId, const QString& password);

// The files of an account folder's listing in its order, with their sizes: files only (no
// folders or links), never the manifest. An unknown size counts as 0.
struct TAccountFiles {
    QStringList names;
    QList<int64_t> sizes;

    int64_t TotalBytes() const;
};
TAccountFiles AccountFiles(const QList<TFtpListItem>& listing);

struct TAccountDeletion {
    int deleted = 0;
    int failed = 0;
    int64_t freedBytes = 0;
};

// Deletes names (sizes parallel) in the client's current folder one by one; a failed delete
// is logged and counted and the next one is tried. done(deleted so far) after each success.
TAccountDeletion DeleteAccountFiles(TFtpClient& ftp, const QStringList& names, const QList<int64_t>& sizes,
    const std::function<void(int deleted)>& done);
