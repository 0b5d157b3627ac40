#pragma once
// The lab's catalogue of print formats: identifier, name, unit price and paper size of every
// format, loaded once at start-up from the formats file ("ID|name|price|side|side" lines).
#include "core/rect.h"

#include <QString>

#include <vector>

// One print format. Which side is the longer does not matter: sheets are always landscape.
// Every member has an initializer, so a designated initializer may leave any of them out.
struct TFormat {
    int id = -1;
    QString name {};
    int price = 0; // hundredths of the currency unit
    int widthMm = 0; // the first side of the file's line
    int heightMm = 0; // the second side

    bool operator==(const TFormat&) const = default;
};

class TFormats {
public:
    // The sides a format may have; a line outside them, or with a negative price, is refused
    // like a malformed one.
    static constexpr int kMinSideMm = 1;
    static constexpr int kMaxSideMm = 5000;

    int Count() const { return int(formats_.size()); }
    const TFormat& Format(int index) const { return formats_[index]; }
    const std::vector<TFormat>& Formats() const { return formats_; } // in file order

    // Appends the formats of a file; false on an unreadable file, a bad line (the formats
    // before it stay) or a file without formats.
    bool LoadFormats(const QString& path);
    void Add(const TFormat& format);

    int IdToIndex(int id) const; // -1 for a negative or unknown id
    int GetPrice(int id) const; // 0 for an unknown id
    QString GetName(int id) const;
    // The print in pixels at dpi, always landscape. For id -1 only rect.Left becomes -1 (the
    // other fields are left as they were); an unknown id gives (0, 0, 200, 100).
    void GetRect(int id, int dpi, TRect& rect) const;

private:
    std::vector<TFormat> formats_;
};
