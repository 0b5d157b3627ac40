#pragma once
// Project folders: the private folders that hold a project's working copies. They live in the
// user's cache folder on disk (a 24-megapixel photo's working copy is 96 MB, too much for a
// RAM-backed /tmp) and each carries a marker that its owning process keeps locked, so that
// the folders of a program that was killed are found and swept at the next start.
#include <QSize>
#include <QString>
#include <QStringList>

#include <cstdint>

// Creates a fresh folder "VDTMP." + 12 hexadecimal digits (mode 0700) in the cache folder
// (AppPath, FileUse::Cache) and locks its marker until ReleaseProjectFolder or the end of the
// process. Empty when no folder can be made.
QString CreateProjectFolder();

// Deletes the marker and drops the lock, so that the folder can be removed once its working
// copies are gone.
void ReleaseProjectFolder(const QString& folder);

// Deletes every project folder in the cache folder whose marker no running process holds,
// logging each with its size. Folders without a marker are left alone.
void SweepAbandonedProjectFolders();

// Bytes of free space one photo's working copies need: the full copy of a picture of this
// size and its preview fitted within previewSize x previewSize.
int64_t WorkingCopiesBytes(QSize picture, int previewSize);

// Free space for one photo's working copies, claimed before they are written and held while
// they are: photos prepared at the same time on other threads count against the same free
// space with what they have still to write.
class TDiskSpaceClaim {
public:
    // files: the copies about to be written (all in one folder).
    TDiskSpaceClaim(const QStringList& files, int64_t bytes);
    ~TDiskSpaceClaim();
    TDiskSpaceClaim(const TDiskSpaceClaim&) = delete;
    TDiskSpaceClaim& operator=(const TDiskSpaceClaim&) = delete;

    bool Granted() const { return granted_; }
    int64_t Needed() const { return bytes_; }
    // Free space of the folder's disk less what other claims have still to write.
    int64_t Available() const { return available_; }

private:
    QStringList files_;
    int64_t bytes_;
    int64_t available_ = 0;
    bool granted_ = false;
};

// The message a customer sees when a photo's working copies do not fit.
QString NoRoomMessage(const QString& photoName, const QString& folder, int64_t needed, int64_t available);
