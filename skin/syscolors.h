#pragma once
// The desktop's named colours that the controls and the skin engine take as defaults.
// The values are those of the classic Windows scheme the lab's windows were designed with,
// fixed so that every desktop shows the program the same way and pictures are repeatable.
#include <QColor>
#include <QRgb>

enum class TSysColor {
    BtnFace,
    BtnHighlight,
    BtnShadow,
    BtnText,
    WindowFrame,
    Window,
    WindowText,
    Highlight,
    HighlightText,
    HotLight,
    AppWorkspace,
    GrayText,
    ActiveCaption,
    InactiveCaption,
};

QColor SysColor(TSysColor which);

// Colour values stored by the lab's files have red in the low byte (R + G*256 + B*65536).
QColor ColorRefToColor(quint32 colorRef);
quint32 ColorToColorRef(const QColor& color);
