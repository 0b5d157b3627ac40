#include "order/shopchoice.h"

#include "lab/shoplist.h"

QStringList ShopLines(const TShopList& shops)
{
    QStringList lines;
    for (int i = 0; i < shops.Count(); ++i)
        lines << shops.cities[i] + " - " + shops.names[i];
    return lines;
}

int NextShopMatch(const QStringList& lines, const QString& text, int lastMatch)
{
    const qsizetype count = lines.size();
    if (text.isEmpty() || count == 0)
        return -1;
    const qsizetype start = lastMatch + 1 >= 0 && lastMatch + 1 < count ? lastMatch + 1 : 0;
    for (qsizetype visited = 0; visited < count; ++visited) {
        const qsizetype line = (start + visited) % count;
        if (lines[line].contains(text, Qt::CaseInsensitive))
            return int(line);
    }
    return -1;
}

std::optional<TShopOptions> ShopOptions(const TShopList& shops, int shopId)
{
    const int index = shopId == 0 ? -1 : shops.IndexOfID(shopId);
    if (index < 0)
        return std::nullopt;
    return TShopOptions { shops.personal.Get(index) != 0, shops.payCash.Get(index) != 0,
        shops.payTransfer.Get(index) != 0, shops.payCard.Get(index) != 0, shops.vat.Get(index) != 0 };
}
