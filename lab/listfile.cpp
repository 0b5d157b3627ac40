#include "lab/listfile.h"

#include "core/log.h"
#include "core/textutils.h"
#include "platform/cp1250.h"

#include <QFile>

bool LabFileFits(const QFile& file)
{
    if (file.size() <= kLabFileMaxBytes)
        return true;
    Log(QStringLiteral("%1 is larger than %2 bytes").arg(file.fileName(), QString::number(kLabFileMaxBytes)), 3);
    return false;
}

QString LoggedExcerpt(const QString& text)
{
    return text.size() <= kLoggedLineChars ? text : text.left(kLoggedLineChars) + QStringLiteral("...");
}

std::optional<int> ParseDecimalField(const QString& text, QString* error)
{
    bool digitsOnly = !text.isEmpty();
    for (qsizetype i = 0; i < text.size() && digitsOnly; ++i)
        digitsOnly = text[i].isDigit() || (i == 0 && text.size() > 1 && (text[i] == u'-' || text[i] == u'+'));
    bool ok = false;
    const int value = digitsOnly ? text.toInt(&ok, 10) : 0;
    if (ok)
        return value;
    if (error)
        *error = "'" + LoggedExcerpt(text) + "' is not a valid integer value";
    return std::nullopt;
}

std::optional<QStringList> ReadListLines(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    if (!LabFileFits(file))
        return std::nullopt;
    QStringList lines = SplitTextLines(FromCp1250(file.readAll()));
    TrimLines(lines);
    RemoveEmptyLines(lines);
    return lines;
}
