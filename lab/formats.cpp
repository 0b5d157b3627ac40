#include "lab/formats.h"

#include "core/log.h"
#include "core/textutils.h"
#include "lab/listfile.h"

#include <QSet>

#include <utility>

bool TFormats::LoadFormats(const QString& path)
{
    Log(QStringLiteral("Loading formats ..."));
    const std::optional<QStringList> lines = ReadListLines(path);
    if (!lines)
        return false;

    // Identifiers seen so far, so that the duplicate test does not scan the catalogue per line.
    QSet<int> known;
    for (int i = 0; i < ids.Count(); ++i)
        known.insert(ids.Get(i));
    for (const QString& line : *lines) {
        const auto refuse = [&line](const QString& reason) {
            Log("Invalid formats file: " + reason, 3);
            Log("Parser text: \"" + LoggedExcerpt(line) + "\"", 3);
            return false;
        };
        QStringList fields;
        if (SplitByChars(line, fields, QStringLiteral("|"), false) != 5)
            return refuse(QStringLiteral("expacted 5 fields."));
        QString error;
        const auto id = ParseDecimalField(fields[0], &error);
        const auto price = id ? ParseDecimalField(fields[2], &error) : std::nullopt;
        const auto firstSide = price ? ParseDecimalField(fields[3], &error) : std::nullopt;
        const auto secondSide = firstSide ? ParseDecimalField(fields[4], &error) : std::nullopt;
        if (!secondSide) {
            Log(error, 3);
            return false;
        }
        if (*id < 0) {
            Log(QStringLiteral("ID must by >= 0 !"), 3);
            return false;
        }
        if (known.contains(*id)) {
            Log("duplicated ID in formats (" + QString::number(*id) + ") !", 3);
            return false;
        }
        if (*price < 0)
            return refuse(QStringLiteral("price below 0."));
        if (*firstSide < kMinSideMm || *firstSide > kMaxSideMm || *secondSide < kMinSideMm || *secondSide > kMaxSideMm)
            return refuse(QStringLiteral("side outside %1..%2 mm.").arg(kMinSideMm).arg(kMaxSideMm));
        known.insert(*id);
        Add(fields[1], *id, *secondSide, *firstSide, *price);
        Log(QStringLiteral("FORMAT AQUIRED: %1: \"%2\" %3 gr, %4 x %5 mm")
                .arg(QString::number(*id), LoggedExcerpt(fields[1]), QString::number(*price),
                    QString::number(*firstSide), QString::number(*secondSide)));
    }
    Log(QString::number(lines->size()) + " formats total.");
    return !lines->isEmpty();
}

void TFormats::Add(const QString& name, int id, int secondSideMm, int firstSideMm, int price)
{
    ids.Add(id);
    names.append(name);
    prices.Add(price);
    widthsMm.Add(firstSideMm);
    heightsMm.Add(secondSideMm);
}

int TFormats::IdToIndex(int id) const
{
    if (id < 0)
        return -1;
    for (int i = 0; i < ids.Count(); ++i)
        if (ids.Get(i) == id)
            return i;
    return -1;
}

int TFormats::GetPrice(int id) const
{
    const int index = IdToIndex(id);
    return index < 0 ? 0 : prices.Get(index);
}

QString TFormats::GetName(int id) const
{
    const int index = IdToIndex(id);
    return index < 0 ? QString() : names[index];
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
    rect = { 0, 0, MmToPixels(widthsMm.Get(index), dpi), MmToPixels(heightsMm.Get(index), dpi) };
    if (rect.Right < rect.Bottom)
        std::swap(rect.Right, rect.Bottom);
}
