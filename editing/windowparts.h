#pragma once
// Controls as the editing windows make them: named, placed at fixed pixel positions, in the
// window's font. Shared by the colour-correction, crop and save windows.
#include <QRect>
#include <QString>

class QLabel;
class QWidget;
class TGradientButton;
class TMousedPanel;

TGradientButton* MakeTextButton(QWidget* parent, const char* name, const QString& caption, const QRect& geometry);
TMousedPanel* MakeNamedPanel(QWidget* parent, const char* name);
QLabel* MakeNamedLabel(QWidget* parent, const char* name, const QString& text, const QRect& geometry);
// Moves a window to the middle of its screen.
void CentreOnScreen(QWidget* window);
