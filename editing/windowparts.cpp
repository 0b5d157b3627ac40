#include "editing/windowparts.h"

#include "ui/gradientbutton.h"
#include "ui/mousedpanel.h"

#include <QLabel>
#include <QScreen>

TGradientButton* MakeTextButton(QWidget* parent, const char* name, const QString& caption, const QRect& geometry)
{
    auto* button = new TGradientButton(parent);
    button->setObjectName(QLatin1String(name));
    button->SetCaption(caption);
    button->setGeometry(geometry);
    return button;
}

TMousedPanel* MakeNamedPanel(QWidget* parent, const char* name)
{
    auto* panel = new TMousedPanel(parent);
    panel->setObjectName(QLatin1String(name));
    return panel;
}

QLabel* MakeNamedLabel(QWidget* parent, const char* name, const QString& text, const QRect& geometry)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setGeometry(geometry);
    return label;
}

void CentreOnScreen(QWidget* window)
{
    if (const QScreen* screen = window->screen())
        window->move(screen->availableGeometry().center() - window->rect().center());
}
