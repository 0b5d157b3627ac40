#include "ui/widgetcolors.h"

#include "skin/syscolors.h"

#include <QWidget>

QColor ParentColor(const QWidget* control)
{
    const QWidget* parent = control->parentWidget();
    if (!parent)
        return SysColor(TSysColor::BtnFace);
    return parent->palette().color(QPalette::Window);
}

void SetBackgroundColor(QWidget* widget, const QColor& color)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, color);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

void SetTextColor(QWidget* widget, const QColor& color)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, color);
    palette.setColor(QPalette::Text, color);
    widget->setPalette(palette);
}
