#include "order/metadatareader.h"

#include "core/textutils.h"
#include "platform/cp1250.h"

QStringList ReadMetadataLines(const QByteArray& bytes)
{
    QStringList lines = SplitTextLines(FromCp1250(bytes));
    lines.removeAll(QString());
    return lines;
}

QString MetadataValue(const QStringList& lines, const QString& key, int occurrence)
{
    for (const QString& line : lines) {
        const qsizetype eq = line.indexOf(u'=');
        if (eq >= 0 && QStringView(line).left(eq).compare(key, Qt::CaseInsensitive) == 0 && occurrence-- == 0)
            return line.mid(eq + 1);
    }
    return {};
}
