#include "platform/inifile.h"

#include "platform/cp1250.h"
#include "platform/trimtext.h"

#include <QFile>
#include <QSaveFile>

#include <algorithm>
#include <cstdint>

namespace {

bool IsComment(const QString& trimmed)
{
    return trimmed.startsWith(u';');
}

// Returns the section name when the line is a header.
bool SectionName(const QString& line, QString& name)
{
    const QString t = TrimText(line);
    if (!t.startsWith(u'['))
        return false;
    const qsizetype close = t.indexOf(u']');
    name = TrimText(close < 0 ? t.mid(1) : t.mid(1, close - 1));
    return true;
}

bool KeyValue(const QString& line, QString& key, QString& value)
{
    const QString t = TrimText(line);
    if (t.isEmpty() || IsComment(t))
        return false;
    const qsizetype eq = t.indexOf(u'=');
    if (eq < 0) {
        key = t;
        value.clear();
        return true;
    }
    key = TrimText(t.left(eq));
    value = TrimText(t.mid(eq + 1));
    // The platform drops one pair of matching quotes around a value.
    if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') && value.back() == value.front())
        value = value.mid(1, value.size() - 2);
    return true;
}

bool SameName(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

} // namespace

bool ParseIniInteger(const QString& text, int& value)
{
    QString t = TrimText(text);
    bool negative = false;
    if (t.startsWith(u'-') || t.startsWith(u'+')) {
        negative = t.front() == u'-';
        t.remove(0, 1);
    }
    int base = 10;
    if (t.startsWith(u'$')) {
        base = 16;
        t.remove(0, 1);
    } else if (t.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)) {
        base = 16;
        t.remove(0, 2);
    }
    if (t.isEmpty())
        return false;
    for (const QChar c : t) {
        const bool digit
            = base == 10 ? c.isDigit() && c.unicode() < 0x80 : QStringLiteral("0123456789abcdefABCDEF").contains(c);
        if (!digit)
            return false;
    }
    bool ok = false;
    const qulonglong magnitude = t.toULongLong(&ok, base);
    if (!ok)
        return false;
    // The magnitude is range-checked before it is signed, so no value (not even one of 2^63)
    // is ever negated outside 64 bits.
    const qulonglong limit = negative ? 0x80000000ULL : 0x7FFFFFFFULL;
    if (magnitude > limit) {
        // Hexadecimal values may use all 32 bits, as "$FFFFFFFF" does for -1.
        if (base == 16 && !negative && magnitude <= 0xFFFFFFFFULL) {
            value = static_cast<int>(static_cast<quint32>(magnitude));
            return true;
        }
        return false;
    }
    const long long v = static_cast<long long>(magnitude);
    value = static_cast<int>(negative ? -v : v);
    return true;
}

TIniFile::TIniFile(QString path, Access access)
    : path_(std::move(path))
    , access_(access)
{
    QFile file(path_);
    if (!file.open(QIODevice::ReadOnly))
        return;
    existed_ = true;
    const QString text = FromCp1250(file.readAll());
    lines_ = text.split(u'\n');
    for (QString& line : lines_)
        if (line.endsWith(u'\r'))
            line.chop(1);
    if (!lines_.isEmpty() && lines_.back().isEmpty())
        lines_.removeLast();
}

int TIniFile::FindSection(const QString& section) const
{
    QString name;
    for (int i = 0; i < lines_.size(); ++i)
        if (SectionName(lines_[i], name) && SameName(name, section))
            return i;
    return -1;
}

int TIniFile::SectionEnd(int header) const
{
    QString name;
    for (int i = header + 1; i < lines_.size(); ++i)
        if (SectionName(lines_[i], name))
            return i;
    return static_cast<int>(lines_.size());
}

TIniFile::Entry TIniFile::FindKey(const QString& section, const QString& key) const
{
    Entry entry;
    const int header = FindSection(section);
    if (header < 0)
        return entry;
    const int end = SectionEnd(header);
    for (int i = header + 1; i < end; ++i) {
        if (KeyValue(lines_[i], entry.key, entry.value) && SameName(entry.key, key)) {
            entry.line = i;
            return entry;
        }
    }
    return Entry {};
}

QString TIniFile::ReadString(const QString& section, const QString& key, const QString& def) const
{
    const Entry e = FindKey(section, key);
    return e.line < 0 ? def : e.value;
}

int TIniFile::ReadInteger(const QString& section, const QString& key, int def) const
{
    const Entry e = FindKey(section, key);
    int value = 0;
    return e.line >= 0 && ParseIniInteger(e.value, value) ? value : def;
}

bool TIniFile::ReadBool(const QString& section, const QString& key, bool def) const
{
    return ReadInteger(section, key, def ? 1 : 0) != 0;
}

bool TIniFile::SectionExists(const QString& section) const
{
    return FindSection(section) >= 0;
}

bool TIniFile::ValueExists(const QString& section, const QString& key) const
{
    return FindKey(section, key).line >= 0;
}

QStringList TIniFile::ReadSections() const
{
    QStringList names;
    QString name;
    for (const QString& line : lines_)
        if (SectionName(line, name)
            && std::none_of(names.cbegin(), names.cend(), [&](const QString& n) { return SameName(n, name); }))
            names.append(name);
    return names;
}

QStringList TIniFile::ReadSection(const QString& section) const
{
    QStringList keys;
    const QStringList values = ReadSectionValues(section);
    for (const QString& line : values)
        keys.append(line.section(u'=', 0, 0));
    return keys;
}

QStringList TIniFile::ReadSectionValues(const QString& section) const
{
    QStringList result;
    QStringList seen;
    const int header = FindSection(section);
    if (header < 0)
        return result;
    const int end = SectionEnd(header);
    QString key, value;
    for (int i = header + 1; i < end; ++i) {
        if (!KeyValue(lines_[i], key, value))
            continue;
        if (std::any_of(seen.cbegin(), seen.cend(), [&](const QString& k) { return SameName(k, key); }))
            continue;
        seen.append(key);
        result.append(key + u'=' + value);
    }
    return result;
}

bool TIniFile::WriteString(const QString& section, const QString& key, const QString& value)
{
    SetString(section, key, value);
    return UpdateFile();
}

bool TIniFile::WriteInteger(const QString& section, const QString& key, int value)
{
    SetInteger(section, key, value);
    return UpdateFile();
}

bool TIniFile::WriteBool(const QString& section, const QString& key, bool value)
{
    SetBool(section, key, value);
    return UpdateFile();
}

void TIniFile::SetString(const QString& section, const QString& key, const QString& value)
{
    const QString line = key + u'=' + value;
    const Entry e = FindKey(section, key);
    if (e.line >= 0) {
        lines_[e.line] = line;
        return;
    }
    const int header = FindSection(section);
    if (header < 0) {
        lines_.append(u'[' + section + u']');
        lines_.append(line);
        return;
    }
    // A new key goes after the last non-blank line of its section.
    int at = SectionEnd(header);
    while (at - 1 > header && TrimText(lines_[at - 1]).isEmpty())
        --at;
    lines_.insert(at, line);
}

void TIniFile::SetInteger(const QString& section, const QString& key, int value)
{
    SetString(section, key, QString::number(value));
}

void TIniFile::SetBool(const QString& section, const QString& key, bool value)
{
    SetString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

bool TIniFile::UpdateFile() const
{
    QSaveFile file(path_);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (access_ == Access::Private)
        file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    QByteArray bytes;
    for (const QString& line : lines_) {
        bytes += ToCp1250(line);
        bytes += "\r\n";
    }
    file.write(bytes);
    return file.commit();
}
