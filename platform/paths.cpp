#include "platform/paths.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace {

constexpr qsizetype kExpandLimit = 249;

QString JoinPath(const QString& folder, const QString& name)
{
    return folder.isEmpty() || folder.endsWith(u'/') ? folder + name : folder + u'/' + name;
}

} // namespace

QString StripTrailingBackslash(const QString& path)
{
    return path.size() > 1 && path.endsWith(u'/') ? path.chopped(1) : path;
}

QString ExpandEnv(const QString& text)
{
    QString result;
    qsizetype i = 0;
    while (i < text.size()) {
        const qsizetype open = text.indexOf(u'%', i);
        const qsizetype close = open < 0 ? -1 : text.indexOf(u'%', open + 1);
        if (close < 0) {
            result += text.mid(i);
            break;
        }
        result += text.mid(i, open - i);
        const QString name = text.mid(open + 1, close - open - 1);
        const QByteArray key = name.toLocal8Bit();
        if (!name.isEmpty() && qEnvironmentVariableIsSet(key.constData())) {
            result += qEnvironmentVariable(key.constData());
            i = close + 1;
        } else if (!name.isEmpty() && qEnvironmentVariableIsSet(key.toUpper().constData())) {
            result += qEnvironmentVariable(key.toUpper().constData());
            i = close + 1;
        } else {
            // Unknown: keep the first "%" and look for a reference from the second one on.
            result += u'%';
            i = open + 1;
        }
    }
    return result.left(kExpandLimit);
}

QString WindowsDir()
{
    return QStringLiteral("/");
}

QString TempDir()
{
    QString s = qEnvironmentVariable("TMPDIR");
    if (s.isEmpty())
        s = ExpandEnv(QStringLiteral("%temp%"));
    if (s == QLatin1String("%temp%"))
        s = ExpandEnv(QStringLiteral("%tmp%"));
    if (s == QLatin1String("%tmp%"))
        s = QDir(WindowsDir()).filePath(QStringLiteral("tmp"));
    s = StripTrailingBackslash(s);
    if (!QFileInfo(s).isDir())
        ForceDirs(s);
    return s;
}

bool ForceDirs(const QString& path)
{
    const QString p = StripTrailingBackslash(path);
    if (p.isEmpty())
        return false;
    return QFileInfo(p).isDir() || QDir().mkpath(p);
}

SplitPath SplitFileName(const QString& path)
{
    const qsizetype slash = path.lastIndexOf(u'/');
    SplitPath parts;
    parts.folder = slash < 0 ? QString() : StripTrailingBackslash(path.left(slash + 1));
    const QString fileName = path.mid(slash + 1);
    const qsizetype dot = fileName.lastIndexOf(u'.');
    parts.ext = dot < 0 ? QString() : fileName.mid(dot);
    parts.name = parts.ext.isEmpty() ? fileName : fileName.left(fileName.indexOf(parts.ext));
    return parts;
}

QString UniqueFileName(const QString& path)
{
    long long next = 1;
    return UniqueFileName(path, next);
}

QString UniqueFileName(const QString& path, long long& next)
{
    if (path.isEmpty() || !QFileInfo::exists(path))
        return path;
    const SplitPath parts = SplitFileName(path);
    QString name = parts.name;
    long long number = 1;
    const qsizetype firstBar = name.indexOf(u'_');
    if (firstBar >= 0 && firstBar != name.size() - 1) {
        const qsizetype lastBar = name.lastIndexOf(u'_');
        bool ok = false;
        const int n = name.mid(lastBar + 1).toInt(&ok);
        if (ok) {
            number = n;
            name.truncate(lastBar);
        }
    }
    for (number = std::max(number, next);; ++number) {
        const QString candidate = JoinPath(parts.folder, name + u'_' + QString::number(number) + parts.ext);
        if (!QFileInfo::exists(candidate)) {
            next = number + 1;
            return candidate;
        }
    }
}

QString ReplaceExt(const QString& path, const QString& ext)
{
    const qsizetype slash = path.lastIndexOf(u'/');
    const qsizetype dot = path.lastIndexOf(u'.');
    return (dot > slash ? path.left(dot) : path) + ext;
}
