#pragma once
// The shop list as the customer chooses from it: one line per shop, the incremental search
// through the lines, and what the chosen shop offers.
#include <QString>
#include <QStringList>

#include <optional>

class TShopList;

// One line per shop in list order: city + " - " + name.
QStringList ShopLines(const TShopList& shops);

// The incremental search: from the line after lastMatch (-1: from the first), wrapping from
// the last line to the first, each line visited at most once, the first line whose text
// contains text (letter case ignored). -1 when none does, and for an empty text, which is no
// search at all.
int NextShopMatch(const QStringList& lines, const QString& text, int lastMatch);

// What a shop offers the order; the boxes of the other options stay hidden.
struct TShopOptions {
    bool personal = false;
    bool payCash = false;
    bool payTransfer = false;
    bool payCard = false;
    bool vat = false;
};

// The options of the shop with that ID; nothing for ID 0 (no shop) or an ID not in the list.
std::optional<TShopOptions> ShopOptions(const TShopList& shops, int shopId);
