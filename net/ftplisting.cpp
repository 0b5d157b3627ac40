#include "net/ftplisting.h"

#include "platform/cp1250.h"

#include <array>
#include <limits>

namespace {

QString DecodeName(QByteArrayView bytes, bool utf8Names)
{
    return utf8Names ? QString::fromUtf8(bytes) : FromCp1250(bytes.data(), bytes.size());
}

// A whole field of decimal digits that fits 64 bits.
std::optional<qint64> ParseSize(QByteArrayView field)
{
    if (field.isEmpty())
        return std::nullopt;
    qint64 value = 0;
    for (const char c : field) {
        if (c < '0' || c > '9')
            return std::nullopt;
        const int digit = c - '0';
        if (value > (std::numeric_limits<qint64>::max() - digit) / 10)
            return std::nullopt;
        value = value * 10 + digit;
    }
    return value;
}

bool IsDigits(QByteArrayView field, qsizetype minLength, qsizetype maxLength)
{
    if (field.size() < minLength || field.size() > maxLength)
        return false;
    for (const char c : field)
        if (c < '0' || c > '9')
            return false;
    return true;
}

bool IsSpace(char c)
{
    return c == ' ' || c == '\t';
}

// The whitespace-separated fields of a line with where each one starts.
struct Field {
    QByteArrayView text;
    qsizetype end = 0; // index just after the field
};

QList<Field> SplitFields(QByteArrayView line, qsizetype maxFields)
{
    QList<Field> fields;
    qsizetype i = 0;
    while (i < line.size() && fields.size() < maxFields) {
        while (i < line.size() && IsSpace(line[i]))
            ++i;
        const qsizetype start = i;
        while (i < line.size() && !IsSpace(line[i]))
            ++i;
        if (i > start)
            fields.append({ line.sliced(start, i - start), i });
    }
    return fields;
}

std::optional<TFtpListItem> Item(QByteArrayView name, TFtpItemKind kind, qint64 size, bool utf8Names)
{
    TFtpListItem item { DecodeName(name, utf8Names), kind, size };
    if (!IsPlainRemoteName(item.name))
        return std::nullopt;
    return item;
}

bool IsMonth(QByteArrayView field)
{
    static constexpr std::array<const char*, 12> months { "jan", "feb", "mar", "apr", "may", "jun", "jul", "aug", "sep",
        "oct", "nov", "dec" };
    if (field.size() != 3)
        return false;
    for (const char* month : months)
        if (field.compare(QByteArrayView(month, 3), Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

// "12:05" or "2024".
bool IsTimeOrYear(QByteArrayView field)
{
    if (IsDigits(field, 4, 4))
        return true;
    const qsizetype colon = field.indexOf(':');
    return colon > 0 && IsDigits(field.first(colon), 1, 2) && IsDigits(field.sliced(colon + 1), 2, 2);
}

// "-rw-r--r--   1 owner group   12345 Jan 01 12:00 name"; the group (and on some servers the
// owner) may be missing, so the size is found as the number before the month of the date.
std::optional<TFtpListItem> ParseUnixLine(QByteArrayView line, bool utf8Names)
{
    const QList<Field> fields = SplitFields(line, 9);
    if (fields.size() < 5 || fields[0].text.size() < 10)
        return std::nullopt;
    TFtpItemKind kind = TFtpItemKind::Other;
    switch (fields[0].text[0]) {
    case '-':
        kind = TFtpItemKind::File;
        break;
    case 'd':
        kind = TFtpItemKind::Directory;
        break;
    case 'l':
    case 'b':
    case 'c':
    case 'p':
    case 's':
        break;
    default:
        return std::nullopt;
    }
    for (qsizetype m = 2; m + 2 < fields.size(); ++m) {
        if (!IsMonth(fields[m].text) || !IsDigits(fields[m + 1].text, 1, 2) || !IsTimeOrYear(fields[m + 2].text))
            continue;
        const std::optional<qint64> size = ParseSize(fields[m - 1].text);
        if (!size)
            return std::nullopt;
        const qsizetype nameStart = fields[m + 2].end + 1; // one space after the time
        if (nameStart >= line.size())
            return std::nullopt;
        QByteArrayView name = line.sliced(nameStart);
        if (fields[0].text[0] == 'l') {
            const qsizetype arrow = name.indexOf(" -> ");
            if (arrow >= 0)
                name = name.first(arrow);
        }
        return Item(name, kind, *size, utf8Names);
    }
    return std::nullopt;
}

// "01-31-24  09:15AM       <DIR>          photos" or "01-31-2024  21:15  12345 a.jpg".
std::optional<TFtpListItem> ParseDosLine(QByteArrayView line, bool utf8Names)
{
    const QList<Field> fields = SplitFields(line, 3);
    if (fields.size() < 3)
        return std::nullopt;
    const QByteArrayView date = fields[0].text;
    if (date.size() < 8 || !IsDigits(date.first(2), 2, 2) || (date[2] != '-' && date[2] != '/')
        || !IsDigits(date.sliced(3, 2), 2, 2) || date[5] != date[2] || !IsDigits(date.sliced(6), 2, 4))
        return std::nullopt;
    QByteArrayView time = fields[1].text;
    if (time.endsWith("AM") || time.endsWith("PM") || time.endsWith("am") || time.endsWith("pm"))
        time.chop(2);
    const qsizetype colon = time.indexOf(':');
    if (colon <= 0 || !IsDigits(time.first(colon), 1, 2) || !IsDigits(time.sliced(colon + 1), 2, 2))
        return std::nullopt;
    qsizetype nameStart = fields[2].end;
    while (nameStart < line.size() && IsSpace(line[nameStart]))
        ++nameStart;
    const QByteArrayView name = line.sliced(nameStart);
    if (fields[2].text.compare("<DIR>", Qt::CaseInsensitive) == 0)
        return Item(name, TFtpItemKind::Directory, -1, utf8Names);
    const std::optional<qint64> size = ParseSize(fields[2].text);
    if (!size)
        return std::nullopt;
    return Item(name, TFtpItemKind::File, *size, utf8Names);
}

QByteArrayView Trimmed(QByteArrayView line)
{
    while (!line.isEmpty() && (line.back() == '\r' || line.back() == '\n'))
        line.chop(1);
    return line;
}

} // namespace

bool IsPlainRemoteName(const QString& name)
{
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String(".."))
        return false;
    for (const QChar c : name)
        if (c == u'/' || c == u'\\' || c.unicode() < 0x20 || c.unicode() == 0x7F)
            return false;
    return true;
}

std::optional<TFtpListItem> ParseMlsdLine(QByteArrayView line, bool utf8Names)
{
    line = Trimmed(line);
    const qsizetype space = line.indexOf(' ');
    if (space < 0)
        return std::nullopt;
    std::optional<TFtpItemKind> kind;
    qint64 size = -1;
    for (const QByteArrayView fact : QByteArray::fromRawData(line.data(), space).split(';')) {
        const qsizetype equals = fact.indexOf('=');
        if (equals <= 0)
            continue;
        const QByteArrayView name = fact.first(equals);
        const QByteArrayView value = fact.sliced(equals + 1);
        if (name.compare("type", Qt::CaseInsensitive) == 0) {
            if (value.compare("cdir", Qt::CaseInsensitive) == 0 || value.compare("pdir", Qt::CaseInsensitive) == 0)
                return std::nullopt; // the folder itself and its parent
            if (value.compare("file", Qt::CaseInsensitive) == 0)
                kind = TFtpItemKind::File;
            else if (value.compare("dir", Qt::CaseInsensitive) == 0)
                kind = TFtpItemKind::Directory;
            else
                kind = TFtpItemKind::Other;
        } else if (name.compare("size", Qt::CaseInsensitive) == 0) {
            size = ParseSize(value).value_or(-1);
        }
    }
    if (!kind)
        return std::nullopt;
    return Item(line.sliced(space + 1), *kind, *kind == TFtpItemKind::File ? size : -1, utf8Names);
}

std::optional<TFtpListItem> ParseListLine(QByteArrayView line, bool utf8Names)
{
    line = Trimmed(line);
    if (line.isEmpty())
        return std::nullopt;
    if (line[0] >= '0' && line[0] <= '9')
        return ParseDosLine(line, utf8Names);
    return ParseUnixLine(line, utf8Names);
}

QList<TFtpListItem> ParseFtpListing(const QByteArray& listing, TFtpListingKind kind, bool utf8Names)
{
    QList<TFtpListItem> items;
    qsizetype start = 0;
    while (start < listing.size()) {
        qsizetype end = listing.indexOf('\n', start);
        if (end < 0)
            end = listing.size();
        const QByteArrayView line(listing.constData() + start, end - start);
        const std::optional<TFtpListItem> item
            = kind == TFtpListingKind::Mlsd ? ParseMlsdLine(line, utf8Names) : ParseListLine(line, utf8Names);
        if (item)
            items.append(*item);
        start = end + 1;
    }
    return items;
}
