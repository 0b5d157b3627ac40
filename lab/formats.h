#pragma once
// The lab's catalogue of print formats: identifier, name, unit price and paper size of every
// format, loaded once at start-up from the formats file ("ID|name|price|side|side" lines).
#include "core/rect.h"
#include "core/typedlists.h"

#include <QString>
#include <QStringList>

class TFormats {
public:
    // The sides a format may have; a line outside them, or with a negative price, is refused
    // like a malformed one.
    static constexpr int kMinSideMm = 1;
    static constexpr int kMaxSideMm = 5000;

    // Five parallel lists in file order.
    TIntList ids;
    QStringList names;
    TIntList prices; // hundredths of the currency unit
    TIntList widthsMm;
    TIntList heightsMm;

    int Count() const { return ids.Count(); }

    // Appends the formats of a file; false on an unreadable file, a bad line (the formats
    // before it stay) or a file without formats.
    bool LoadFormats(const QString& path);
    void Add(const QString& name, int id, int secondSideMm, int firstSideMm, int price);

    int IdToIndex(int id) const; // -1 for a negative or unknown id
    int GetPrice(int id) const; // 0 for an unknown id
    QString GetName(int id) const;
    // The print in pixels at dpi, always landscape. For id -1 only rect.Left becomes -1 (the
    // other fields are left as they were); an unknown id gives (0, 0, 200, 100).
    void GetRect(int id, int dpi, TRect& rect) const;
};
