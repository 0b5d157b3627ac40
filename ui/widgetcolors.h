#pragma once
// Background colours passed from containers to the controls they hold.
#include <QColor>

class QWidget;

// The background colour of a control's parent (what a control that "takes the parent's
// colour" shows); button face when it has no parent.
QColor ParentColor(const QWidget* control);

// Makes `widget` fill its background with `color`; its children see it through ParentColor.
void SetBackgroundColor(QWidget* widget, const QColor& color);

// Sets the colour of a standard widget's text (labels, edits).
void SetTextColor(QWidget* widget, const QColor& color);
