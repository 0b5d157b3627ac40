#include "tests/support/testsupport.h"

#include "core/log.h"
#include "platform/appdir.h"

#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>

ScopedAppDir::ScopedAppDir()
    : previous_(AppDir())
{
    SetAppDir(dir_.path());
}

ScopedAppDir::~ScopedAppDir()
{
    SetAppDir(previous_);
}

QString ScopedAppDir::Path(const QString& relative) const
{
    return relative.isEmpty() ? dir_.path() : dir_.filePath(relative);
}

int FileModeBits(const QString& path)
{
    struct stat st { };
    return stat(QFile::encodeName(path).constData(), &st) == 0 ? int(st.st_mode & 0777) : -1;
}

bool InCiRun()
{
    return qgetenv("CI") == "true";
}

bool WriteFileBytes(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

QByteArray ReadFileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString TestDataPath(const QString& relative)
{
    return QStringLiteral(VENDARO_SOURCE_DIR "/tests/data/") + relative;
}

void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}

bool LogHasLine(const QString& line, int level)
{
    const TLogStore& store = LogStore();
    for (int i = 0; i < store.Lines().size(); ++i)
        if (store.Lines()[i] == line && (level < 0 || store.Levels().Get(i) == level))
            return true;
    return false;
}

QStringList Snapshot(const QString& folder)
{
    QList<QFileInfo> infos { QFileInfo(folder) };
    QDirIterator it(
        folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext())
        infos << it.nextFileInfo();
    QStringList entries;
    for (const QFileInfo& info : infos) {
        entries << QStringLiteral("%1 %2 %3 %4")
                       .arg(info.filePath().mid(folder.size()))
                       .arg(info.size())
                       .arg(info.lastModified().toMSecsSinceEpoch())
                       .arg(int(info.permissions()), 0, 16);
    }
    entries.sort();
    return entries;
}

void SetTreeWritable(const QString& folder, bool writable)
{
    const QFileDevice::Permissions write
        = QFileDevice::WriteOwner | QFileDevice::WriteUser | QFileDevice::WriteGroup | QFileDevice::WriteOther;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    QStringList paths { folder };
    while (it.hasNext())
        paths << it.next();
    for (const QString& path : paths) {
        const QFileInfo info(path);
        if (info.isSymLink())
            continue;
        const QFileDevice::Permissions kept = info.permissions() & ~write;
        QFile::setPermissions(path, writable ? kept | QFileDevice::WriteOwner | QFileDevice::WriteUser : kept);
    }
}
