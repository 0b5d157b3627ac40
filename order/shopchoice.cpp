#include "order/shopchoice.h"

#include "lab/shoplist.h"

QStringList ShopLines(const TShopList& shops)
{
    QStringList lines;
    for (const TShop& shop : shops.Shops())
        lines << shop.city + " - " + shop.name;
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
    const TShop& shop = shops.Shop(index);
    return TShopOptions { shop.personal, shop.payCash, shop.payTransfer, shop.payCard, shop.vat };
}
