#pragma once
// Controls as the editing windows make them: named, placed at fixed pixel positions, in the
// window's font. Shared by the colour-correction, crop and save windows.
#include <QRect>
#include <QString>
#include <QWidget>

class QLabel;
class TGradientButton;
class TMousedPanel;

// A control of type TControl named name, placed at geometry (when one is given).
template <typename TControl>
TControl* MakeNamed(QWidget* parent, const char* name, const QRect& geometry = QRect())
{
    auto* control = new TControl(parent);
    control->setObjectName(QLatin1String(name));
    if (geometry.isValid())
        control->setGeometry(geometry);
    return control;
}

TGradientButton* MakeTextButton(QWidget* parent, const char* name, const QString& caption, const QRect& geometry);
// A text button with the shell glyph glyph (16 pixels, transparent) left of its caption.
TGradientButton* MakeGlyphButton(
    QWidget* parent, const char* name, const QString& caption, const char* glyph, const QRect& geometry);
QLabel* MakeNamedLabel(QWidget* parent, const char* name, const QString& text, const QRect& geometry);
// Moves a window to the middle of its screen.
void CentreOnScreen(QWidget* window);
