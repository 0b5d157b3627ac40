#include "skin/drawrules.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

int Clamp255(int value)
{
    return std::clamp(value, 0, 255);
}

// One step of a linear gradient: component i of n steps, rounded to the nearest integer.
int Interpolate(int from, int to, int step, int steps)
{
    if (steps <= 1)
        return from;
    const double value = from + double(to - from) * step / (steps - 1);
    return int(value < 0 ? value - 0.5 : value + 0.5);
}

double RelativeLuminance(const QColor& color)
{
    const auto linear = [](int component) {
        const double c = component / 255.0;
        return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(color.red()) + 0.7152 * linear(color.green()) + 0.0722 * linear(color.blue());
}

} // namespace

double ContrastRatio(const QColor& a, const QColor& b)
{
    const double la = RelativeLuminance(a), lb = RelativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor DisabledCaptionColor(const QColor& face, const QColor& rowA, const QColor& rowB)
{
    const auto contrast
        = [&](const QColor& caption) { return std::min(ContrastRatio(caption, rowA), ContrastRatio(caption, rowB)); };
    const int away = Lightness(face) >= 96 ? -1 : 1;
    for (const int direction : { away, -away }) {
        for (int d = 50; d <= 255; ++d) {
            const QColor caption = Adjust(face, direction * d);
            if (contrast(caption) >= kReadableContrast)
                return caption;
        }
    }
    const QColor black(0, 0, 0), white(255, 255, 255);
    return contrast(black) >= contrast(white) ? black : white;
}

QColor Adjust(const QColor& color, int d)
{
    return QColor(Clamp255(color.red() + d), Clamp255(color.green() + d), Clamp255(color.blue() + d));
}

int Lightness(const QColor& color)
{
    const int r = color.red(), g = color.green(), b = color.blue();
    return (std::max({ r, g, b }) + std::min({ r, g, b })) / 2;
}

QColor Inverse(const QColor& color)
{
    return QColor(255 - color.red(), 255 - color.green(), 255 - color.blue());
}

QColor ShadedRowColor(const QRect& rect, const QColor& base, int brightness, int y)
{
    if (rect.height() <= 0)
        return base;
    const int middle = (rect.y() + rect.y() + rect.height()) / 2;
    return Adjust(base, brightness * (middle - y) / rect.height());
}

void ShadedFill(QPainter& painter, const QRect& rect, const QColor& base, int brightness)
{
    if (rect.height() <= 0 || rect.width() <= 0)
        return;
    for (int y = rect.y(); y < rect.y() + rect.height(); ++y)
        painter.fillRect(QRect(rect.x(), y, rect.width(), 1), ShadedRowColor(rect, base, brightness, y));
}

void Edge3D(QPainter& painter, const QRect& rect, const QColor& c1, const QColor& c2)
{
    if (rect.width() <= 0 || rect.height() <= 0)
        return;
    const int left = rect.x(), top = rect.y();
    const int right = left + rect.width() - 1, bottom = top + rect.height() - 1;
    painter.fillRect(QRect(left, top, 1, rect.height()), c1);
    painter.fillRect(QRect(left, top, rect.width() - 1, 1), c1);
    painter.fillRect(QRect(right, top, 1, rect.height()), c2);
    if (rect.width() > 1)
        painter.fillRect(QRect(left + 1, bottom, rect.width() - 1, 1), c2);
}

void Outline(QPainter& painter, const QRect& rect, const QColor& color)
{
    Edge3D(painter, rect, color, color);
}

void LinearGradient(
    QPainter& painter, const QRect& rect, const QColor& from, const QColor& to, TGradientAxis axis, int limit)
{
    const bool vertical = axis == TGradientAxis::Vertical;
    const int steps = vertical ? rect.height() : rect.width();
    const int painted = limit >= 0 ? std::min(limit, steps) : steps;
    for (int i = 0; i < painted; ++i) {
        const QColor color(Interpolate(from.red(), to.red(), i, steps), Interpolate(from.green(), to.green(), i, steps),
            Interpolate(from.blue(), to.blue(), i, steps));
        if (vertical)
            painter.fillRect(QRect(rect.x(), rect.y() + i, rect.width(), 1), color);
        else
            painter.fillRect(QRect(rect.x() + i, rect.y(), 1, rect.height()), color);
    }
}

void FocusRect(QPainter& painter, const QRect& rect)
{
    if (rect.width() <= 0 || rect.height() <= 0)
        return;
    painter.save();
    painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    const QColor white(255, 255, 255);
    const int left = rect.x(), top = rect.y();
    const int right = left + rect.width() - 1, bottom = top + rect.height() - 1;
    for (int x = left; x <= right; x += 2) {
        painter.fillRect(QRect(x, top, 1, 1), white);
        if (bottom != top)
            painter.fillRect(QRect(x, bottom, 1, 1), white);
    }
    for (int y = top + 2; y < bottom; y += 2) {
        painter.fillRect(QRect(left, y, 1, 1), white);
        if (right != left)
            painter.fillRect(QRect(right, y, 1, 1), white);
    }
    painter.restore();
}

QRect Shrunk(const QRect& rect, int n)
{
    return rect.adjusted(n, n, -n, -n);
}
