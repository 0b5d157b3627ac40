#include "order/metadatareader.h"

#include "core/textutils.h"
#include "platform/cp1250.h"

#include <QFile>

QStringList ReadMetadataLines(const QByteArray& bytes)
{
    QStringList lines = SplitTextLines(FromCp1250(bytes));
    lines.removeAll(QString());
    return lines;
}

std::optional<QByteArray> ReadMetadataFile(const QString& path)
{
    constexpr qint64 kMaxMetadataBytes = 64 * 1024 * 1024;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxMetadataBytes)
        return std::nullopt;
    return file.readAll();
}

namespace {

bool HasKey(const QString& line, qsizetype eq, const QString& key)
{
    return eq >= 0 && QStringView(line).left(eq).compare(key, Qt::CaseInsensitive) == 0;
}

} // namespace

QString MetadataValue(const QStringList& lines, const QString& key, int occurrence)
{
    for (const QString& line : lines) {
        const qsizetype eq = line.indexOf(u'=');
        if (HasKey(line, eq, key) && occurrence-- == 0)
            return line.mid(eq + 1);
    }
    return {};
}

QStringList MetadataValues(const QStringList& lines, const QString& key)
{
    QStringList values;
    for (const QString& line : lines) {
        const qsizetype eq = line.indexOf(u'=');
        if (HasKey(line, eq, key))
            values << line.mid(eq + 1);
    }
    return values;
}
