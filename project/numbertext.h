#pragma once
// Numbers as the program's texts write them ("%.2f", "%.1f"), with the locale's decimal
// separator.
#include <QString>

#include <cstdint>

// value with `decimals` digits after the separator, rounded as printf does.
QString FormatFixed(double value, int decimals);
// "%.2f zł" of hundredths: 1250 -> "12.50 zł" (the separator from the locale).
QString FormatMoney(std::int64_t hundredths);
// "%.2f" of hundredths without the currency.
QString FormatHundredths(std::int64_t hundredths);
// "name - 12.50 zł": a format with its unit price.
QString PricedName(const QString& name, std::int64_t hundredths);
// A count of photos in the word's Polish form: "1 zdjęcie", "3 zdjęcia", "5 zdjęć", "22 zdjęcia".
QString PhotoCount(qsizetype count);
