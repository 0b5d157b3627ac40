#include "tests/support/testsupport.h"

#include "core/log.h"
#include "platform/appdir.h"

#include <QDir>
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
