#include "platform/appdir.h"

#include <QDir>
#include <QFileInfo>

namespace {

QString ComputeAppDir()
{
    const QByteArray overridden = qgetenv("VENDARO_APPDIR");
    QString dir = overridden.isEmpty() ? QFileInfo(ExecutablePath()).absolutePath()
                                       : QDir(QString::fromLocal8Bit(overridden)).absolutePath();
    while (dir.size() > 1 && dir.endsWith(u'/'))
        dir.chop(1);
    return dir;
}

QString& Storage()
{
    static QString dir = ComputeAppDir();
    return dir;
}

// Computed during static initialisation, before any window exists.
[[maybe_unused]] const QString& kInitialAppDir = Storage();

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
    QString dir = QDir(folder).absolutePath();
    while (dir.size() > 1 && dir.endsWith(u'/'))
        dir.chop(1);
    Storage() = dir;
}

QString AppPath(const QString& relative)
{
    QString rel = relative;
    rel.replace(u'\\', u'/');
    while (rel.startsWith(u'/'))
        rel.remove(0, 1);
    return AppDir() + u'/' + rel;
}
