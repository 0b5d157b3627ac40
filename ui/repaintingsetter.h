#pragma once
// The setters of the program's controls store the new value and repaint the control.
#include <QWidget>

template <typename T> void SetAndRepaint(QWidget& control, T& field, const T& value)
{
    if (field == value)
        return;
    field = value;
    control.update();
}
