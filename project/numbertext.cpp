#include "project/numbertext.h"

#include <QLocale>

namespace {

QString WithLocaleSeparator(QString text)
{
    return text.replace(u'.', QLocale().decimalPoint());
}

} // namespace

QString FormatFixed(double value, int decimals)
{
    return WithLocaleSeparator(QString::asprintf("%.*f", decimals, value));
}

QString FormatHundredths(std::int64_t hundredths)
{
    const std::uint64_t magnitude = hundredths < 0 ? 0 - std::uint64_t(hundredths) : std::uint64_t(hundredths);
    const QString text = QStringLiteral("%1%2.%3")
                             .arg(hundredths < 0 ? QStringLiteral("-") : QString())
                             .arg(magnitude / 100)
                             .arg(magnitude % 100, 2, 10, QLatin1Char('0'));
    return WithLocaleSeparator(text);
}

QString FormatMoney(std::int64_t hundredths)
{
    return FormatHundredths(hundredths) + QStringLiteral(" zł");
}

QString PricedName(const QString& name, std::int64_t hundredths)
{
    return name + QStringLiteral(" - ") + FormatMoney(hundredths);
}

QString PhotoCount(qsizetype count)
{
    const qsizetype ones = count % 10, tens = count % 100;
    const char16_t* word = count == 1                        ? u"zdjęcie"
        : ones >= 2 && ones <= 4 && (tens < 12 || tens > 14) ? u"zdjęcia"
                                                             : u"zdjęć";
    return QString::number(count) + u' ' + QString::fromUtf16(word);
}
