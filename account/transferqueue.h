#pragma once
// The transfer window's queue and rules, window-free: the files with their sizes and states,
// the checks before an upload run, the target of a download, the progress and the closing
// message of a run.
#include <QList>
#include <QString>
#include <QStringList>

#include <cstdint>

// A queued file's state; the numbers are the ones the window has always used.
enum TFileState : int {
    fsWaiting = 0,
    fsUploading = 1,
    fsDownloading = 2,
    fsDone = 3,
    fsFailed = 4,
};

// "oczekuje", "wgrywanie", "pobieranie", "OK", "Błąd"; empty for any other value.
QString FileStateText(int state);

// Upload lines hold full local paths, download lines remote file names; sizes are 64-bit.
class TTransferQueue {
public:
    int Count() const { return int(names_.size()); }
    bool IsEmpty() const { return names_.isEmpty(); }
    const QString& Name(int row) const { return names_[row]; }
    int64_t Size(int row) const { return sizes_[row]; }
    int State(int row) const { return states_[row]; }
    void SetState(int row, int state) { states_[row] = state; }

    // Adds a line in state fsWaiting.
    void Add(const QString& name, int64_t size);
    void Clear();
    // Removes the lines of rows (any order, duplicates ignored).
    void Remove(const QList<int>& rows);
    int64_t TotalBytes() const;
    bool AnyInState(int state) const;

private:
    QStringList names_;
    QList<int64_t> sizes_;
    QList<int> states_;
};

// The warning that refuses an upload run of queue into an account with free bytes left, or
// an empty text when the run may start.
QString UploadRefusal(const TTransferQueue& queue, int64_t free);

// Whether an upload of the local file path would be written over the account's manifest: the
// name it gets on the server is one IsAccountManifestName refuses ("Account_Manifest.VDS").
bool UploadReplacesManifest(const QString& path);
// The warning for local files (their names without folders) left out of the upload queue
// because they would replace the manifest.
QString ManifestClashWarning(const QStringList& fileNames);

// The folder a download goes to as the user typed it, without trailing separators ("/foto/"
// becomes "/foto"; "/" stays).
QString TrimTargetFolder(const QString& folder);

// folder + "/" + name when name from the server is a plain file name (IsPlainRemoteName);
// empty for "", ".", "..", a name holding "/", "\" or a control character: such a name never
// becomes a path.
QString DownloadTarget(const QString& folder, const QString& name);

// The bar's percent after count bytes of the current file with doneBytes of queueBytes in
// finished files, 0 to 100 (0 for an empty queue).
int TransferPercent(int64_t count, int64_t doneBytes, int64_t queueBytes);

enum class TSummaryKind { Warning, Information, Error };
struct TTransferSummary {
    TSummaryKind kind;
    QString text;
};
// The message that closes a run: cancelled, all files done, or some failed.
TTransferSummary TransferSummary(bool upload, bool cancelled, int errors);
