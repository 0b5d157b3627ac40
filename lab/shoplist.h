#pragma once
// The pickup points: the lab itself (ID -1) and the shops of the lab's shop list file, one
// record per shop. ID 0 means "no shop chosen" to every user of the list.
#include <QString>

#include <vector>

// One pickup point: its address and what it offers. Every member has an initializer, so a
// designated initializer may leave any of them out.
struct TShop {
    int id = 0;
    QString name {};
    QString city {}; // postal code and city
    QString street {}; // street and number
    QString email {};
    QString phone {};
    QString bank {}; // bank account
    bool personal = false; // personal pickup
    bool payCash = false;
    bool payTransfer = false;
    bool payCard = false;
    bool vat = false; // VAT invoice

    bool operator==(const TShop&) const = default;
};

class TShopList {
public:
    int Count() const { return int(shops_.size()); }
    const TShop& Shop(int index) const { return shops_[index]; }
    TShop& Shop(int index) { return shops_[index]; }
    const std::vector<TShop>& Shops() const { return shops_; } // in list order

    void Clear();
    int IndexOfID(int id) const; // the first entry with that id, or -1
    void Add(const TShop& shop);

    // Appends the shops of a shop list file ("ID|name|city|street|email|phone|bank|personal|
    // paycash|paytransfer|paycard[|vat]"). False on an unreadable file or a bad line; the
    // shops before a bad line stay.
    bool LoadFromFile(const QString& path);

private:
    std::vector<TShop> shops_;
};
