#include "platform/files.h"

#include "platform/paths.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QSaveFile>

#include <sys/stat.h>
#include <sys/statvfs.h>

namespace {

bool SameChar(QChar a, QChar b)
{
    return a == b || a.toCaseFolded() == b.toCaseFolded();
}

} // namespace

bool MatchesMask(const QString& name, const QString& mask)
{
    const QString m = mask == QLatin1String("*.*") ? QStringLiteral("*") : mask;
    // Greedy matching that returns to the last "*" on a mismatch: linear for any mask.
    qsizetype n = 0, k = 0, star = -1, mark = 0;
    while (n < name.size()) {
        if (k < m.size() && m[k] != u'*' && (m[k] == u'?' || SameChar(m[k], name[n]))) {
            ++n;
            ++k;
        } else if (k < m.size() && m[k] == u'*') {
            star = k++;
            mark = n;
        } else if (star >= 0) {
            k = star + 1;
            n = ++mark;
        } else {
            return false;
        }
    }
    while (k < m.size() && m[k] == u'*')
        ++k;
    return k == m.size();
}

bool DeleteFileForced(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return true;
    if (info.isDir())
        return false;
    QFile file(path);
    if (!info.isSymLink() && !file.setPermissions(file.permissions() | QFileDevice::WriteOwner))
        return false;
    return file.remove();
}

bool RemoveEmptyDir(const QString& path)
{
    return QDir().rmdir(StripTrailingBackslash(path));
}

int64_t FileSize64(const QString& path)
{
    QStringList matches;
    const QString name = QFileInfo(path).fileName();
    if (name.contains(u'*') || name.contains(u'?'))
        ListFiles(path, faAnyFile, matches, true);
    else if (QFileInfo::exists(path))
        matches.append(path);
    if (matches.isEmpty())
        return -1;
    const QFileInfo info(matches.front());
    return info.isDir() ? 0 : info.size();
}

void ListFiles(const QString& mask, int attributes, QStringList& list, bool skipDots)
{
    list.clear();
    const qsizetype slash = mask.lastIndexOf(u'/');
    const QString folder = slash < 0 ? QStringLiteral(".") : StripTrailingBackslash(mask.left(slash + 1));
    const QString pattern = mask.mid(slash + 1);
    const bool dirs = attributes & faDirectory;
    const bool hidden = attributes & faHidden;

    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System);
    while (it.hasNext()) {
        it.next();
        const QString name = it.fileName();
        const bool dots = name == QLatin1String(".") || name == QLatin1String("..");
        if (dots ? (skipDots || !dirs) : ((it.fileInfo().isDir() && !dirs) || (name.startsWith(u'.') && !hidden)))
            continue;
        if (MatchesMask(name, pattern))
            list.append(slash < 0 ? name : QDir(folder).filePath(name));
    }
}

bool OpenForWrite(QFile& file)
{
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate);
}

bool OpenForRead(QFile& file, bool readOnly)
{
    return file.exists() && file.open(readOnly ? QIODevice::ReadOnly : QIODevice::ReadWrite);
}

int64_t FreeDiskSpace(const QString& path)
{
    struct statvfs info { };
    if (::statvfs(QFile::encodeName(path).constData(), &info) != 0)
        return -1;
    return int64_t(info.f_bavail) * int64_t(info.f_frsize);
}

bool CreatePrivateDir(const QString& path)
{
    return ::mkdir(QFile::encodeName(StripTrailingBackslash(path)).constData(), 0700) == 0;
}

bool WriteFileAtomically(const QString& path, const QByteArray& bytes, QString* error)
{
    QSaveFile file(path);
    const bool written = file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
    if (!written && error)
        *error = file.errorString();
    return written;
}
