#include "order/historyview.h"

#include "order/metadatareader.h"
#include "project/numbertext.h"

namespace {

QString DeliveryText(const QString& deliverypost)
{
    return deliverypost == QLatin1String("1") ? QStringLiteral("Przesyłka") : QStringLiteral("Odbiór osobisty.");
}

QString PaymentText(const QString& payby)
{
    if (payby == QLatin1String("1"))
        return QStringLiteral("Gotówka");
    if (payby == QLatin1String("2"))
        return QStringLiteral("Przelew");
    return QStringLiteral("Karta");
}

// The price in hundredths as "%.2f zł*"; a missing or unreadable price is 0.
QString PriceText(const QString& price)
{
    bool ok = false;
    const qint64 hundredths = price.trimmed().toLongLong(&ok);
    return FormatMoney(ok ? hundredths : 0) + u'*';
}

QString Field(const QStringList& fields, int n)
{
    return n < fields.size() ? fields[n] : QString();
}

// "10x15, 3 szt.": the format and the number of prints, either left out when the line has none.
QString PhotoValue(const QString& format, const QString& quantity)
{
    QStringList parts;
    if (!format.isEmpty())
        parts << format;
    if (!quantity.isEmpty())
        parts << quantity + QStringLiteral(" szt.");
    return parts.join(QStringLiteral(", "));
}

} // namespace

std::vector<THistoryDetail> HistoryDetails(const QStringList& lines)
{
    const auto value = [&lines](const char* key) { return MetadataValue(lines, QLatin1String(key)); };
    std::vector<THistoryDetail> rows {
        { QStringLiteral("ID"), value("oid") },
        { QStringLiteral("Data"), value("date") },
        { QStringLiteral("Rozmiar oryg."), value("orygsize_r") },
        { QStringLiteral("Rozmiar zlec."), value("size_r") },
        { QStringLiteral("Zaoszczędzone"), value("sizesaved_r") },
        { QStringLiteral("Ilość zdjęć"), value("truecount") },
        { QStringLiteral("Cena"), PriceText(value("price")) },
        { QStringLiteral("Zamawiający"), value("name") },
        { QStringLiteral("Adres 1"), value("street") },
        { QStringLiteral("Adres 2"), value("city") },
        { QStringLiteral("email"), value("email") },
        { QStringLiteral("telefon"), value("phone") },
        // The row has always been written "Faktura VAT: " + vat, so its value starts with a space.
        { QStringLiteral("Faktura VAT"), u' ' + value("vat") },
        { QStringLiteral("Dostawca"), value("shopname") },
        { QStringLiteral("Adres 1"), value("shopcity") },
        { QStringLiteral("Adres 2"), value("shopstreet") },
        { QStringLiteral("telefon"), value("shopphone") },
        { QStringLiteral("email"), value("shopemail") },
        { QStringLiteral("konto"), value("shopbank") },
        { QStringLiteral("Dostawa"), DeliveryText(value("deliverypost")) },
        { QStringLiteral("Rodzaj płatności"), PaymentText(value("payby")) },
        { QStringLiteral("Ilość plików"), value("count") },
    };
    const QStringList photos = MetadataValues(lines, QStringLiteral("rddata"));
    const qint64 count = value("count").trimmed().toLongLong();
    for (qsizetype i = 0; i < photos.size() && i < count; ++i) {
        const QStringList fields = photos[i].split(u'|');
        rows.push_back({ Field(fields, 0), PhotoValue(Field(fields, 2), Field(fields, 1)) });
    }
    return rows;
}

int StepPage(int current, int pageCount, int step)
{
    if (pageCount < 1)
        return 1;
    const qint64 page = qint64(current) + step;
    if (page < 1)
        return pageCount;
    if (page > pageCount)
        return 1;
    return int(page);
}

QString PageStatus(int page, int pageCount)
{
    return QStringLiteral("%1 / %2").arg(page).arg(pageCount);
}
