#include "skin/syscolors.h"

QColor SysColor(TSysColor which)
{
    switch (which) {
    case TSysColor::BtnFace:
        return QColor(240, 240, 240);
    case TSysColor::BtnHighlight:
        return QColor(255, 255, 255);
    case TSysColor::BtnShadow:
        return QColor(160, 160, 160);
    case TSysColor::BtnText:
        return QColor(0, 0, 0);
    case TSysColor::WindowFrame:
        return QColor(100, 100, 100);
    case TSysColor::Window:
        return QColor(255, 255, 255);
    case TSysColor::WindowText:
        return QColor(0, 0, 0);
    case TSysColor::Highlight:
        return QColor(0, 120, 215);
    case TSysColor::HighlightText:
        return QColor(255, 255, 255);
    case TSysColor::HotLight:
        return QColor(0, 102, 204);
    case TSysColor::AppWorkspace:
        return QColor(171, 171, 171);
    case TSysColor::GrayText:
        return QColor(109, 109, 109);
    case TSysColor::ActiveCaption:
        return QColor(153, 180, 209);
    case TSysColor::InactiveCaption:
        return QColor(191, 205, 219);
    }
    return QColor(240, 240, 240);
}

QColor ColorRefToColor(quint32 colorRef)
{
    return QColor(int(colorRef & 0xFF), int((colorRef >> 8) & 0xFF), int((colorRef >> 16) & 0xFF));
}

quint32 ColorToColorRef(const QColor& color)
{
    const QRgb rgb = color.rgb();
    return quint32(qRed(rgb)) | (quint32(qGreen(rgb)) << 8) | (quint32(qBlue(rgb)) << 16);
}
