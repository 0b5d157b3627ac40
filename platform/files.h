#pragma once
// File helpers. None of them throws: failures are reported by the result.
#include <QFile>
#include <QString>
#include <QStringList>

#include <cstdint>

// Which entries ListFiles returns besides ordinary files (the Windows attribute bits).
enum : int {
    faHidden = 0x02, // names starting with "."
    faDirectory = 0x10,
    faAnyFile = 0x3F,
};

// True when no such file exists; otherwise makes it writable and returns whether it was
// deleted. A folder is not a file: false.
bool DeleteFileForced(const QString& path);

// Removes an empty folder; false when it is not empty or cannot be removed.
bool RemoveEmptyDir(const QString& path);

// Size in bytes of the first file that path (which may hold "*" and "?") names, or -1.
int64_t FileSize64(const QString& path);

// Clears list, then adds the full path of every entry of mask's folder whose name matches
// mask's last part ("*" and "?", letter case ignored; "*.*" is "*"), in the order the
// file system lists them. Folders and hidden entries only with faDirectory and faHidden;
// "." and ".." only with faDirectory and without skipDots.
void ListFiles(const QString& mask, int attributes, QStringList& list, bool skipDots = true);

// Windows wildcard match of one file name ("*" any run, "?" one character), case ignored.
bool MatchesMask(const QString& name, const QString& mask);

// Creates or truncates the file for binary writing.
bool OpenForWrite(QFile& file);
// Opens an existing file for binary reading (and writing unless readOnly).
bool OpenForRead(QFile& file, bool readOnly = true);

// Writes bytes to path through a temporary file that replaces path only when everything was
// written, so a failure never leaves a half file behind. Returns false on failure and, when
// error is given, the reason.
bool WriteFileAtomically(const QString& path, const QByteArray& bytes, QString* error = nullptr);

// Bytes free for this user on the disk that holds path, or -1 when the system cannot tell.
int64_t FreeDiskSpace(const QString& path);

// Creates a new folder readable by its owner only (mode 0700); false when it already
// exists or cannot be created. For temporary folders that hold the user's photos.
bool CreatePrivateDir(const QString& path);
