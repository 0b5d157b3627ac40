#include "editing/previewtext.h"

#include "core/textutils.h"
#include "project/numbertext.h"

#include <algorithm>

QString PreviewCaption(double scale, int width, int height)
{
    return QStringLiteral("powiększenie: %1% rozdzielczość: %2x%3 rozmiar: %4")
        .arg(FormatFixed(scale * 100, 1))
        .arg(width)
        .arg(height)
        .arg(FormatByteSize(std::int64_t(width) * height * 4, QStringLiteral("Mb")));
}

double WheelZoom(double scale, int steps)
{
    return std::max(scale + steps * kWheelZoomStep, kMinPreviewScale);
}
