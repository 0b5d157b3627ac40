#include "ui/windowparts.h"

#include "ui/gradientbutton.h"

#include <QLabel>
#include <QScreen>

TGradientButton* MakeTextButton(QWidget* parent, const char* name, const QString& caption, const QRect& geometry)
{
    auto* button = MakeNamed<TGradientButton>(parent, name, geometry);
    button->SetCaption(caption);
    return button;
}

QLabel* MakeNamedLabel(QWidget* parent, const char* name, const QString& text, const QRect& geometry)
{
    auto* label = MakeNamed<QLabel>(parent, name, geometry);
    label->setText(text);
    return label;
}

void CentreOnScreen(QWidget* window)
{
    if (const QScreen* screen = window->screen())
        window->move(screen->availableGeometry().center() - window->rect().center());
}
