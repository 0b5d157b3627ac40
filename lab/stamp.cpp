#include "lab/stamp.h"

#include "core/textutils.h"
#include "lab/md5.h"
#include "platform/cp1250.h"
#include "platform/inifile.h"

#include <QFile>

QString ComputeStampOfBytes(const QByteArray& contents)
{
    QStringList lines = SplitTextLines(FromCp1250(contents));
    TrimLines(lines);
    RemoveEmptyLines(lines);
    QString acc;
    for (const QString& line : lines) {
        if (line.startsWith(u';'))
            continue;
        const NameValue pair = SplitNameValue(line);
        if (pair.ok && pair.name != QLatin1String("stamp"))
            acc += pair.value;
    }
    return MD5Hex("vd" + acc + "db915706");
}

QString ComputeStamp(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return ComputeStampOfBytes(file.readAll());
}

bool WriteStamp(const QString& path)
{
    const QString stamp = ComputeStamp(path);
    if (stamp.isEmpty())
        return false;
    TIniFile ini(path);
    if (!ini.WriteString(QStringLiteral("digitalstamp"), QStringLiteral("stamp"), stamp))
        return false;
    return TIniFile(path).ReadString(QStringLiteral("digitalstamp"), QStringLiteral("stamp"), QString()) == stamp
        && ComputeStamp(path) == stamp;
}
