#include "core/textutils.h"

#include <QRandomGenerator>

namespace {

// Index of the n-th (1-based) occurrence of sub in text at or after from, or -1.
qsizetype NthIndex(const QString& sub, const QString& text, int n, qsizetype from)
{
    qsizetype at = -1;
    for (int i = 0; i < n; ++i) {
        at = text.indexOf(sub, from);
        if (at < 0)
            return -1;
        from = at + sub.size();
    }
    return at;
}

// Strict decimal with an optional minus sign, 32-bit.
bool ParseDecimal(const QString& text, int& value)
{
    if (text.isEmpty())
        return false;
    for (qsizetype i = 0; i < text.size(); ++i)
        if (!(text[i].isDigit() && text[i].unicode() < 0x80) && !(i == 0 && text[i] == u'-' && text.size() > 1))
            return false;
    bool ok = false;
    value = text.toInt(&ok);
    return ok;
}

bool ParseColorComponent(const QString& field, int& component)
{
    if (field.isEmpty()) {
        component = 0;
        return true;
    }
    int value = 0;
    if (field[0].isDigit() && field[0].unicode() < 0x80) {
        if (!ParseDecimal(field, value))
            return false;
    } else {
        const QString hex = field.left(2);
        for (const QChar c : hex)
            if (!QStringLiteral("0123456789abcdefABCDEF").contains(c))
                return false;
        value = hex.toInt(nullptr, 16);
    }
    component = value & 0xFF;
    return true;
}

} // namespace

NameValue SplitNameValue(const QString& line)
{
    const qsizetype eq = line.indexOf(u'=');
    if (eq < 0)
        return {};
    return { true, TrimText(line.left(eq)), TrimText(line.mid(eq + 1)) };
}

QStringList SplitTextLines(const QString& text)
{
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != u'\r' && text[i] != u'\n')
            continue;
        lines.append(text.mid(start, i - start));
        if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        lines.append(text.mid(start));
    return lines;
}

QString TextBetween(
    const QString& startMarker, const QString& endMarker, const QString& text, int fromPos, bool includeMarkers)
{
    const QString rest = text.mid(qMax(fromPos, 1) - 1);
    const qsizetype start = startMarker.isEmpty() ? 0 : rest.indexOf(startMarker);
    qsizetype end = rest.size();
    if (!endMarker.isEmpty())
        end = NthIndex(endMarker, rest, endMarker == startMarker ? 2 : 1, 0);
    if (start < 0 || end < 0)
        return {};
    const qsizetype innerStart = start + startMarker.size();
    if (end < innerStart)
        return {};
    if (includeMarkers)
        return rest.mid(start, end + endMarker.size() - start);
    return rest.mid(innerStart, end - innerStart);
}

int CountOccurrences(const QString& sub, const QString& text)
{
    if (sub.isEmpty())
        return 0;
    QString rest = text;
    int count = 0;
    for (qsizetype at = rest.indexOf(sub); at >= 0; at = rest.indexOf(sub)) {
        rest.remove(at, sub.size());
        ++count;
    }
    return count;
}

int FindOccurrence(const QString& sub, const QString& text, int n, int fromPos)
{
    if (sub.isEmpty())
        return 0;
    const qsizetype at = NthIndex(sub, text, qMax(n, 0) + 1, qMax(fromPos, 1) - 1);
    return at < 0 ? 0 : static_cast<int>(at + 1);
}

int SplitByChars(const QString& text, QStringList& list, const QString& separators, bool keepEmpty)
{
    int added = 0;
    qsizetype start = 0;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        if (i < text.size() && !separators.contains(text[i]))
            continue;
        const QString token = TrimText(text.mid(start, i - start));
        if (keepEmpty || !token.isEmpty()) {
            list.append(token);
            ++added;
        }
        start = i + 1;
    }
    return added;
}

void TrimLines(QStringList& list)
{
    for (QString& line : list)
        line = TrimText(line);
}

int RemoveEmptyLines(QStringList& list)
{
    return static_cast<int>(list.removeAll(QString()));
}

QString RandomHex(int n)
{
    static const char kDigits[] = "0123456789ABCDEF";
    QString text;
    text.reserve(qMax(n, 0));
    for (int i = 0; i < n; ++i)
        text.append(QLatin1Char(kDigits[QRandomGenerator::system()->bounded(16)]));
    return text;
}

QString TitleCase(const QString& text)
{
    QString result = text.toLower();
    for (qsizetype i = 0; i < result.size(); ++i)
        if (i == 0 || result[i - 1] == u' ')
            result[i] = result[i].toUpper();
    return result;
}

QString LeftChars(const QString& text, int n)
{
    return text.size() < n ? QString() : text.left(n);
}

QString ZeroPad(int64_t value, int width)
{
    QString text = QString::number(value);
    if (text.size() < width)
        text.prepend(QString(width - text.size(), u'0'));
    return text;
}

QString GroupThousands(const QString& digits)
{
    QString result = digits;
    const qsizetype first = result.startsWith(u'-') ? 1 : 0;
    for (qsizetype at = result.size() - 3; at > first; at -= 3)
        result.insert(at, u',');
    return result;
}

QString FormatThousands(int64_t value)
{
    return GroupThousands(QString::number(value));
}

QString FormatByteSize(int64_t bytes, const QString& largestUnit)
{
    static const char* const kUnits[] = { "Kb", "Mb", "Gb", "Tb" };
    QString unit = QStringLiteral("bytes");
    int64_t value = bytes;
    for (int step = 0; step < 4 && value > 1024; ++step) {
        if (step > 0 && unit.compare(largestUnit, Qt::CaseInsensitive) == 0)
            break;
        value /= 1024;
        unit = QLatin1String(kUnits[step]);
    }
    return GroupThousands(QString::number(value)) + u' ' + unit;
}

QString ColorToText(uint32_t color)
{
    const auto part = [](uint32_t v) { return v == 0 ? QString() : QString::number(v); };
    return part(color & 0xFF) + u',' + part(color >> 8 & 0xFF) + u',' + part(color >> 16 & 0xFF);
}

uint32_t TextToColor(const QString& text)
{
    const QStringList fields = text.split(u',');
    if (fields.size() != 3)
        return 0;
    int rgb[3] = {};
    for (int i = 0; i < 3; ++i)
        if (!ParseColorComponent(fields[i], rgb[i]))
            return 0;
    return static_cast<uint32_t>(rgb[0] | rgb[1] << 8 | rgb[2] << 16);
}

int64_t MulDiv64(int64_t a, int64_t b, int64_t c)
{
    if (c == 0)
        return 0;
    return static_cast<int64_t>(static_cast<__int128>(a) * b / c);
}
