#include "lab/shoplist.h"

#include "core/log.h"
#include "core/textutils.h"
#include "lab/listfile.h"

void TShopList::Clear()
{
    ids.Clear();
    for (QStringList* column : { &names, &cities, &streets, &emails, &phones, &banks })
        column->clear();
    for (TboolList* column : { &personal, &payCash, &payTransfer, &payCard, &vat })
        column->Clear();
}

int TShopList::IndexOfID(int id) const
{
    for (int i = 0; i < ids.Count(); ++i)
        if (ids.Get(i) == id)
            return i;
    return -1;
}

void TShopList::Add(int id, const QString& name, const QString& city, const QString& street, const QString& email,
    const QString& phone, const QString& bank, bool personalPickup, bool cash, bool transfer, bool card,
    bool vatInvoice)
{
    ids.Add(id);
    names.append(name);
    cities.append(city);
    streets.append(street);
    emails.append(email);
    phones.append(phone);
    banks.append(bank);
    personal.Add(personalPickup);
    payCash.Add(cash);
    payTransfer.Add(transfer);
    payCard.Add(card);
    vat.Add(vatInvoice);
}

bool TShopList::LoadFromFile(const QString& path)
{
    Log("Loading shop list from: " + path);
    const std::optional<QStringList> lines = ReadListLines(path);
    if (!lines) {
        Log(QStringLiteral("Can't load file !"), 3);
        return false;
    }
    // The flag columns would otherwise grow 25 slots at a time: quadratic in a long list.
    for (TboolList* column : { &personal, &payCash, &payTransfer, &payCard, &vat })
        column->Reserve(Count() + int(lines->size()));

    for (const QString& line : *lines) {
        QStringList fields;
        SplitByChars(line, fields, QStringLiteral("|"), true);
        if (fields.size() == 11)
            fields.append(QStringLiteral("1")); // lists written before VAT invoices existed
        if (fields.size() != 12) {
            Log(QStringLiteral("shop list has invalid format !"));
            return false;
        }
        QString error;
        const auto id = ParseDecimalField(fields[0], &error);
        if (!id) {
            Log(QStringLiteral("BŁĄD: ") + error, 3);
            return false;
        }
        const auto flag = [&fields](int i) { return fields[i] == QLatin1String("1"); };
        Add(*id, fields[1], fields[2], fields[3], fields[4], fields[5], fields[6], flag(7), flag(8), flag(9), flag(10),
            flag(11));
    }
    return true;
}
