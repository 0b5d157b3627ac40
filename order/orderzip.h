#pragma once
// The order's ZIP archive (libzip): a new archive holding each file under its bare name,
// deflated at level 9, except files whose extension says they are compressed already.
#include <QString>
#include <QStringList>

#include <functional>

// True for the extensions stored uncompressed (gif, png, zip, rar, gz ... case ignored).
bool StoredUncompressed(const QString& fileName);

// Writes the archive at zipPath (replacing one there), calling progress (which may be empty)
// with the total percentage (0 to 100) as libzip reports it. The writing itself runs on a
// worker thread while the caller waits in a local event loop; progress is called on the
// caller's thread. Every failure is logged (level 3) and gives false; a failed archive leaves
// no file behind.
bool WriteOrderZip(const QString& zipPath, const QStringList& files, const std::function<void(int percent)>& progress);
