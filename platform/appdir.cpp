#include "platform/appdir.h"

#include "platform/inifile.h"

#include <QDir>
#include <QFileInfo>

#include <sys/stat.h>
#include <unistd.h>

namespace {

QString WithoutTrailingSlash(QString dir)
{
    while (dir.size() > 1 && dir.endsWith(u'/'))
        dir.chop(1);
    return dir;
}

QString ComputeAppDir()
{
    const QByteArray overridden = qgetenv("VENDARO_APPDIR");
    return WithoutTrailingSlash(overridden.isEmpty() ? QFileInfo(ExecutablePath()).absolutePath()
                                                     : QDir(QString::fromLocal8Bit(overridden)).absolutePath());
}

QString& Storage()
{
    static QString dir = ComputeAppDir();
    return dir;
}

// Computed during static initialisation, before any window exists.
[[maybe_unused]] const QString& kInitialAppDir = Storage();

QString Relative(const QString& relative)
{
    QString rel = relative;
    rel.replace(u'\\', u'/');
    while (rel.startsWith(u'/'))
        rel.remove(0, 1);
    return rel;
}

QString Join(const QString& folder, const QString& rel)
{
    return rel.isEmpty() ? folder : folder + u'/' + rel;
}

// An XDG base folder: the variable when it holds an absolute path (the only kind the
// standard allows), else the home folder + fallback.
QString XdgFolder(const char* variable, const char* fallback)
{
    const QString value = qEnvironmentVariable(variable);
    if (QDir::isAbsolutePath(value))
        return WithoutTrailingSlash(value);
    return QDir::homePath() + QLatin1String(fallback);
}

// Makes every missing folder of path, each with mode 0700.
void MakePrivateFolders(const QString& path)
{
    if (path.isEmpty() || QFileInfo(path).isDir())
        return;
    MakePrivateFolders(QFileInfo(path).path());
    ::mkdir(QFile::encodeName(path).constData(), 0700);
}

// The lab's program name from the stamped configuration in the program folder, made safe as
// one folder name. Read before the stamp is checked: it only names the folder.
QString LabFolderName()
{
    QString name = TIniFile(AppDir() + QStringLiteral("/config/engine.ini"))
                       .ReadString(QStringLiteral("misc"), QStringLiteral("progname"), QStringLiteral("Vendaro"));
    for (QChar& c : name)
        if (c == u'/' || c.unicode() < 0x20)
            c = u'_';
    name = name.trimmed();
    return name.isEmpty() || name == QLatin1String(".") || name == QLatin1String("..") ? QStringLiteral("Vendaro")
                                                                                       : name;
}

QString UserDataFolder()
{
    return XdgFolder("XDG_DATA_HOME", "/.local/share") + QStringLiteral("/vendaro/") + LabFolderName();
}

QString CacheFolder()
{
    return XdgFolder("XDG_CACHE_HOME", "/.cache") + QStringLiteral("/vendaro");
}

QString RuntimeFolder()
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (QDir::isAbsolutePath(runtime) && QFileInfo(runtime).isDir())
        return WithoutTrailingSlash(runtime) + QStringLiteral("/vendaro");
    return CacheFolder();
}

// The folder of path (path itself when it names a base folder) made when missing; per-user
// folders (outside the program folder) private.
QString Prepared(const QString& path, const QString& rel, bool privateFolders)
{
    const QString folder = rel.isEmpty() ? path : QFileInfo(path).path();
    if (privateFolders)
        MakePrivateFolders(folder);
    else
        QDir().mkpath(folder);
    return path;
}

} // namespace

QString ExecutablePath()
{
    return QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget();
}

const QString& AppDir()
{
    return Storage();
}

void SetAppDir(const QString& folder)
{
    Storage() = WithoutTrailingSlash(QDir(folder).absolutePath());
}

bool AppDirWritable()
{
    const QByteArray dir = QFile::encodeName(AppDir());
    struct stat info { };
    if (::access(dir.constData(), W_OK) != 0 || ::stat(dir.constData(), &info) != 0)
        return false;
    // access() lets root write anywhere; a folder nobody may write is meant to stay as it is.
    return (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0;
}

QString AppPath(const QString& relative, FileUse use)
{
    const QString rel = Relative(relative);
    switch (use) {
    case FileUse::Cache:
        return Prepared(Join(CacheFolder(), rel), rel, true);
    case FileUse::Runtime:
        return Prepared(Join(RuntimeFolder(), rel), rel, true);
    case FileUse::Write:
        if (!AppDirWritable())
            return Prepared(Join(UserDataFolder(), rel), rel, true);
        return Prepared(Join(AppDir(), rel), rel, false);
    case FileUse::Update:
        if (!AppDirWritable()) {
            const QString own = Prepared(Join(UserDataFolder(), rel), rel, true);
            const QString shipped = Join(AppDir(), rel);
            if (!QFileInfo::exists(own) && QFileInfo(shipped).isFile() && QFile::copy(shipped, own))
                QFile::setPermissions(own, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
            return own;
        }
        return Prepared(Join(AppDir(), rel), rel, false);
    case FileUse::Read:
        break;
    }
    if (!AppDirWritable()) {
        const QString own = Join(UserDataFolder(), rel);
        if (QFileInfo::exists(own))
            return own;
    }
    return Join(AppDir(), rel);
}
