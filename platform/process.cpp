#include "platform/process.h"

#include "platform/appdir.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QFileInfo>
#include <QLockFile>

#include <map>
#include <memory>
#include <optional>

bool HasSwitch(const QStringList& arguments, const QString& name, bool ignoreCase)
{
    const Qt::CaseSensitivity cs = ignoreCase ? Qt::CaseInsensitive : Qt::CaseSensitive;
    for (qsizetype i = 1; i < arguments.size(); ++i)
        if (arguments[i].compare(name, cs) == 0)
            return true;
    return false;
}

namespace {

std::optional<QStringList>& StoredArguments()
{
    static std::optional<QStringList> arguments;
    return arguments;
}

} // namespace

void SetProgramArguments(const QStringList& arguments)
{
    StoredArguments() = arguments;
}

QStringList ProgramArguments()
{
    if (StoredArguments())
        return *StoredArguments();
    return QCoreApplication::instance() ? QCoreApplication::arguments() : QStringList();
}

bool HasSwitch(const QString& name, bool ignoreCase)
{
    return HasSwitch(ProgramArguments(), name, ignoreCase);
}

QString VersionString(const QString& exePath, const QString& prefix)
{
    const QFileInfo file(exePath);
    if (!file.isFile())
        return {};
    const bool own = file.canonicalFilePath() == QFileInfo(ExecutablePath()).canonicalFilePath();
    const int major = own ? VENDARO_VERSION_MAJOR : 0;
    const int minor = own ? VENDARO_VERSION_MINOR : 0;
    const int release = own ? VENDARO_VERSION_PATCH : 0;
    const int build = own ? VENDARO_BUILD_NUMBER : 0;
    return QStringLiteral("%1.%2.%3  (%4%5)").arg(major).arg(minor).arg(release).arg(prefix).arg(build);
}

bool AnotherInstanceRunning(const QString& key)
{
    // The locks this process holds, kept until it ends.
    static std::map<QString, std::unique_ptr<QLockFile>> held;
    if (held.count(key))
        return false;
    // Per user: another user's program, running or crashed, never holds this user's lock.
    auto lock = std::make_unique<QLockFile>(InstanceFilePath(key, QStringLiteral(".lock")));
    lock->setStaleLockTime(0); // only a dead owner makes the lock stale, never its age
    if (!lock->tryLock(0))
        return lock->error() == QLockFile::LockFailedError;
    held.emplace(key, std::move(lock));
    return false;
}

QString InstanceFilePath(const QString& key, const QString& suffix)
{
    const QByteArray digest = QCryptographicHash::hash(key.toUtf8(), QCryptographicHash::Sha1).toHex();
    return AppPath("instance-" + QString::fromLatin1(digest) + suffix, FileUse::Runtime);
}

bool AnotherInstanceRunning()
{
    return AnotherInstanceRunning(ExecutablePath());
}
