#include "lab/shoplist.h"

#include "core/log.h"
#include "core/textutils.h"
#include "lab/listfile.h"

#include <QStringList>

void TShopList::Clear()
{
    shops_.clear();
}

int TShopList::IndexOfID(int id) const
{
    for (int i = 0; i < Count(); ++i)
        if (shops_[i].id == id)
            return i;
    return -1;
}

void TShopList::Add(const TShop& shop)
{
    shops_.push_back(shop);
}

bool TShopList::LoadFromFile(const QString& path)
{
    Log("Loading shop list from: " + path);
    const std::optional<QStringList> lines = ReadListLines(path);
    if (!lines) {
        Log(QStringLiteral("Can't load file !"), 3);
        return false;
    }
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
        Add({ .id = *id,
            .name = fields[1],
            .city = fields[2],
            .street = fields[3],
            .email = fields[4],
            .phone = fields[5],
            .bank = fields[6],
            .personal = flag(7),
            .payCash = flag(8),
            .payTransfer = flag(9),
            .payCard = flag(10),
            .vat = flag(11) });
    }
    return true;
}
