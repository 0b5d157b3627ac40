#include "skin/glyphdrawing.h"

#include <algorithm>
#include <cstdlib>

namespace {

QRgb Recolour(QRgb pixel, vd::TDisabledGlyphStyle style, int amount)
{
    int r = qRed(pixel), g = qGreen(pixel), b = qBlue(pixel);
    switch (style) {
    case vd::dgBW:
        r = g = b = (r + g + b) / 3;
        break;
    case vd::dgLighten:
        r += amount, g += amount, b += amount;
        break;
    case vd::dgDarken:
        r -= amount, g -= amount, b -= amount;
        break;
    }
    return qRgba(std::clamp(r, 0, 255), std::clamp(g, 0, 255), std::clamp(b, 0, 255), qAlpha(pixel));
}

} // namespace

QImage GlyphForDrawing(const QImage& glyph, const TGlyphLook& look)
{
    QImage picture = glyph.convertToFormat(QImage::Format_ARGB32);
    if (picture.isNull())
        return picture;
    const QRgb key = picture.pixel(0, picture.height() - 1) | 0xFF000000u;
    const int amount = std::abs(look.brightness);
    for (int y = 0; y < picture.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(picture.scanLine(y));
        for (int x = 0; x < picture.width(); ++x) {
            if (look.transparent && (row[x] | 0xFF000000u) == key && qAlpha(row[x]) == 255) {
                row[x] = 0;
                continue;
            }
            if (look.disabled)
                row[x] = Recolour(row[x], look.style, amount);
        }
    }
    return picture;
}
