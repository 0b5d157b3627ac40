#include "lab/formats.h"

#include "core/log.h"
#include "core/textutils.h"
#include "lab/listfile.h"

#include <QSet>
#include <QStringList>

#include <utility>

namespace {

// ID|name|price|first side|second side
constexpr int kFieldCount = 5;

// Converts a number field into value; false, with the conversion's message in error, when it
// is not one.
bool ParseNumber(const QString& field, int& value, QString& error)
{
    const std::optional<int> number = ParseDecimalField(field, &error);
    if (number)
        value = *number;
    return number.has_value();
}

} // namespace

bool TFormats::LoadFormats(const QString& path)
{
    Log(QStringLiteral("Loading formats ..."));
    const std::optional<QStringList> lines = ReadListLines(path);
    if (!lines)
        return false;

    // Identifiers seen so far, so that the duplicate test does not scan the catalogue per line.
    QSet<int> known;
    for (const TFormat& format : formats_)
        known.insert(format.id);
    for (const QString& line : *lines) {
        const auto refuse = [&line](const QString& reason) {
            Log("Invalid formats file: " + reason, 3);
            Log("Parser text: \"" + LoggedExcerpt(line) + "\"", 3);
            return false;
        };
        QStringList fields;
        if (SplitByChars(line, fields, QStringLiteral("|"), false) != kFieldCount)
            return refuse(QStringLiteral("expacted %1 fields.").arg(kFieldCount));
        TFormat format { .name = fields[1] };
        QString error;
        if (!ParseNumber(fields[0], format.id, error) || !ParseNumber(fields[2], format.price, error)
            || !ParseNumber(fields[3], format.widthMm, error) || !ParseNumber(fields[4], format.heightMm, error)) {
            Log(error, 3);
            return false;
        }
        if (format.id < 0) {
            Log(QStringLiteral("ID must by >= 0 !"), 3);
            return false;
        }
        if (known.contains(format.id)) {
            Log("duplicated ID in formats (" + QString::number(format.id) + ") !", 3);
            return false;
        }
        if (format.price < 0)
            return refuse(QStringLiteral("price below 0."));
        for (const int side : { format.widthMm, format.heightMm })
            if (side < kMinSideMm || side > kMaxSideMm)
                return refuse(QStringLiteral("side outside %1..%2 mm.").arg(kMinSideMm).arg(kMaxSideMm));
        known.insert(format.id);
        Add(format);
        Log(QStringLiteral("FORMAT AQUIRED: %1: \"%2\" %3 gr, %4 x %5 mm")
                .arg(QString::number(format.id), LoggedExcerpt(format.name), QString::number(format.price),
                    QString::number(format.widthMm), QString::number(format.heightMm)));
    }
    Log(QString::number(lines->size()) + " formats total.");
    return !lines->isEmpty();
}

void TFormats::Add(const TFormat& format)
{
    formats_.push_back(format);
}

int TFormats::IdToIndex(int id) const
{
    if (id < 0)
        return -1;
    for (int i = 0; i < Count(); ++i)
        if (formats_[i].id == id)
            return i;
    return -1;
}

int TFormats::GetPrice(int id) const
{
    const int index = IdToIndex(id);
    return index < 0 ? 0 : formats_[index].price;
}

QString TFormats::GetName(int id) const
{
    const int index = IdToIndex(id);
    return index < 0 ? QString() : formats_[index].name;
}

void TFormats::GetRect(int id, int dpi, TRect& rect) const
{
    if (id == -1) {
        rect.Left = -1;
        return;
    }
    const int index = IdToIndex(id);
    if (index < 0) {
        Log(QStringLiteral("??? TFormats.GetRect failed to translate id2idx !"), 3);
        rect = { 0, 0, 200, 100 };
        return;
    }
    const TFormat& format = formats_[index];
    rect = { 0, 0, MmToPixels(format.widthMm, dpi), MmToPixels(format.heightMm, dpi) };
    if (rect.Right < rect.Bottom)
        std::swap(rect.Right, rect.Bottom);
}
