#pragma once
// Sending an order package to the lab's FTP server: the files one after the other, the
// metadata file last, each one verified on the server, with reconnection after a failure; a
// file whose connection broke goes on where it broke when the server resumes uploads (REST
// STREAM). The order stops after five failures without progress. Window-free: the send-order
// window shows what the listener reports. Every FTP operation waits in a local event loop
// (net/ftpclient.h).
#include <QString>
#include <QStringList>

#include <functional>

class TFtpClient;

// An order stops at this many failed attempts without progress: every failed attempt counts,
// and a retry that finds more of its file on the server than the failed attempt began from (a
// resumed upload moved on) clears the count.
inline constexpr int kMaxUploadFailures = 5;

struct TUploadProgress {
    qint64 fileBytes = 0; // bytes of the current file sent so far
    qint64 doneBytes = 0; // fileBytes + the files sent completely
    qint64 totalBytes = 0;
    int percent = 0; // doneBytes of totalBytes, 0 to 100
    QString timeLeft; // FormatElapsed of the estimated time left; empty before the first kilobyte
};

// What the send-order window shows. Every member may be empty.
struct TUploadListener {
    std::function<void(qint64 fileBytes)> fileBegin; // the fetch window's bar maximum
    std::function<void(const TUploadProgress&)> progress;
    std::function<void()> fileEnd; // the fetch window's bar maximum back to 100
    // A file is on the server whole (sent, or found there): filesSent files of the list are.
    std::function<void(int filesSent, qint64 sentBytes)> fileSent;
    // A file failed and the connection is made again: the text for the error label.
    std::function<void(int failures, const QString& notice)> retrying;
    // An error message for the user (fdialog), in the order they arise; the upload has
    // stopped when the last one arrives.
    std::function<void(const QString& message)> error;
};

struct TUploadResult {
    bool sent = false; // every file is on the server, whole
    int failures = 0; // failed attempts in all
    qint64 totalBytes = 0;
    qint64 sentBytes = 0;
    qint64 resumedBytes = 0; // bytes of broken files that went on from the server's copy, not again
    qint64 heldBytes = 0; // bytes of files the server held whole already (TUploadStart), not sent
};

// Where an upload of an order begins that an earlier run of the program began. The first
// verified files are on the server (verified then); each later file is looked up first when
// askServer: a file the server holds whole (SIZE equal to the local size) is not sent again, a
// shorter one goes on from its end when the server resumes uploads (REST STREAM), anything else
// is sent whole.
struct TUploadStart {
    int verified = 0;
    bool askServer = false;
};

// How one attempt at a file ended. Broken: the connection broke during it and the server resumes
// uploads, so what arrived stays on the server for the next attempt to go on from.
enum class TFileUpload { Sent, Failed, Broken };

// The progress after fileBytes of the current file, with sentBytes of totalBytes sent in
// whole files, elapsedMs after the upload began: the time left is the total time the speed so
// far gives (kilobytes done against kilobytes in all) less the time elapsed.
TUploadProgress UploadProgress(qint64 fileBytes, qint64 sentBytes, qint64 totalBytes, qint64 elapsedMs);

// Sends the local file at path into the client's current folder under its lower-cased file
// name, then compares the server's SIZE with the local size when the server answers SIZE (a
// server without SIZE, or refusing it for that file, is taken at its word; logged at level 2).
// On any failure logs "FTP ERROR: " lines (the error, the server's last reply), deletes the
// remote file of that name ignoring errors, and returns false.
bool UploadOrderFile(TFtpClient& client, const QString& path);
// The name UploadOrderFile gives the local file path on the server: its file name lower-cased.
QString UploadRemoteName(const QString& path);

// One attempt at path as UploadOrderFile, from offset (REST; a server refusing that gets the
// whole file, logged at level 2), except that a broken one keeps the remote part when the server
// resumes uploads.
TFileUpload SendOrderFile(TFtpClient& client, const QString& path, qint64 offset);

// Where another attempt at path can begin: the size of its remote file when the server resumes
// uploads and that file is no larger than the local one; else 0.
qint64 RemoteResumePoint(TFtpClient& client, const QString& path);

// Sends files (the photos or the ZIP, then the metadata file) over the client, which is
// connected in folder; a failed file is sent again after reconnecting (ConnectFtp into folder),
// from where the server's copy ends after a broken attempt, until kMaxUploadFailures failures
// without progress. Disconnects at the end.
TUploadResult UploadOrder(TFtpClient& client, const QStringList& files, const QString& folder,
    const TUploadListener& listener, const TUploadStart& start = {});
