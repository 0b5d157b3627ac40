#pragma once
// TFFBitmap: a 24-bit picture as skin files store it. On disk a picture record is the
// magic 0x81ED9A7C, the byte count S of the pixel block (0: an empty picture, nothing
// follows), the width W and the height H, then H rows of W pixels as blue, green, red
// bytes, top row first, no padding. All integers are 32-bit little-endian.
#include <QIODevice>
#include <QImage>

#include <stdexcept>

// Raised when an empty picture is copied out.
class EFFBitmap : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class TFFBitmap {
public:
    static constexpr quint32 kMagic = 0x81ED9A7Cu;
    // Pictures wider or higher than this are taken for damage, not for pictures.
    static constexpr int kMaxSide = 8192;

    TFFBitmap() = default;
    // The picture as it would be stored (alpha dropped); a null image gives an empty one.
    static TFFBitmap FromImage(const QImage& image);

    bool IsEmpty() const { return pixels_.isNull(); }
    int Width() const { return pixels_.width(); }
    int Height() const { return pixels_.height(); }

    // Reads one record. False for a wrong magic, a file that ends early, or sizes that do
    // not agree (S other than W x H x 3, a negative or absurd side); the picture is then
    // empty and nothing past the record's block has been read.
    bool Load(QIODevice& file);
    bool Save(QIODevice& file) const;

    // A 24-bit copy (blue, green, red bytes). An empty picture raises "FFBitmap not assigned !".
    QImage CopyTo24Bit() const;

private:
    QImage pixels_; // Format_BGR888, or null when empty
};
