#pragma once
// Drawing rules shared by the program's own controls. Rectangles follow the desktop's
// convention: the right and bottom edges (x + width, y + height) lie outside.
#include <QColor>
#include <QRect>

class QPainter;

// Adds d to each of red, green and blue, clamping to 0..255.
QColor Adjust(const QColor& color, int d);
// (largest component + smallest component) div 2.
int Lightness(const QColor& color);
// 255 minus each component.
QColor Inverse(const QColor& color);

// The WCAG contrast ratio of two colours (1 to 21), from their relative luminance.
double ContrastRatio(const QColor& a, const QColor& b);
// The contrast at which a caption counts as readable.
constexpr double kReadableContrast = 4.5;
// The caption colour of a disabled control whose face runs from rowA to rowB under the
// caption's rows: Adjust(face, -50) on a face of lightness 96 or more, else +50, moved further
// the same way until it reads at kReadableContrast against both rows, else the other way,
// else black or white, whichever reads better.
QColor DisabledCaptionColor(const QColor& face, const QColor& rowA, const QColor& rowB);

// The colour ShadedFill gives row y of the rectangle.
QColor ShadedRowColor(const QRect& rect, const QColor& base, int brightness, int y);
// Fills the rectangle row by row with Adjust(base, brightness * (middle - y) div height); the
// middle row keeps the base colour, a negative brightness darkens the top and lightens the bottom.
void ShadedFill(QPainter& painter, const QRect& rect, const QColor& base, int brightness);

// One-pixel bevel: c1 on the left column and the top row, c2 on the right column and the
// bottom row; the top-right pixel is c2, the bottom-left pixel c1.
void Edge3D(QPainter& painter, const QRect& rect, const QColor& c1, const QColor& c2);

// One-pixel outline on the rectangle's outermost pixels.
void Outline(QPainter& painter, const QRect& rect, const QColor& color);

// Linear gradient from `from` (top or left) to `to` (bottom or right), one row or column per
// pixel, components interpolated and rounded. A limit >= 0 stops after that many rows or
// columns while the colour steps stay those of the whole rectangle.
enum class TGradientAxis { Vertical, Horizontal };
void LinearGradient(
    QPainter& painter, const QRect& rect, const QColor& from, const QColor& to, TGradientAxis axis, int limit = -1);

// A dotted focus rectangle on the rectangle's outermost pixels (every other pixel, inverted).
void FocusRect(QPainter& painter, const QRect& rect);

// Shrinks (or grows, for negative n) a rectangle by n pixels on each side.
QRect Shrunk(const QRect& rect, int n);
