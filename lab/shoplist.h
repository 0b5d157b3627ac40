#pragma once
// The pickup points: the lab itself (ID -1) and the shops of the lab's shop list file, in
// twelve parallel columns. ID 0 means "no shop chosen" to every user of the list.
#include "core/typedlists.h"

#include <QString>
#include <QStringList>

class TShopList {
public:
    TIntList ids;
    QStringList names;
    QStringList cities;
    QStringList streets;
    QStringList emails;
    QStringList phones;
    QStringList banks;
    TboolList personal;
    TboolList payCash;
    TboolList payTransfer;
    TboolList payCard;
    TboolList vat;

    int Count() const { return ids.Count(); }
    void Clear();
    int IndexOfID(int id) const; // the first entry with that id, or -1

    // Appends one shop to every column.
    void Add(int id, const QString& name, const QString& city, const QString& street, const QString& email,
        const QString& phone, const QString& bank, bool personalPickup, bool cash, bool transfer, bool card,
        bool vatInvoice);

    // Appends the shops of a shop list file ("ID|name|city|street|email|phone|bank|personal|
    // paycash|paytransfer|paycard[|vat]"). False on an unreadable file or a bad line; the
    // shops before a bad line stay.
    bool LoadFromFile(const QString& path);
};
