#include "ui/windowparts.h"

#include "ui/gradientbutton.h"
#include "ui/shellglyphs.h"

#include <QScreen>

TGradientButton* MakeTextButton(QWidget* parent, const char* name, const QString& caption, const QRect& geometry)
{
    auto* button = MakeNamed<TGradientButton>(parent, name, geometry);
    button->SetCaption(caption);
    return button;
}

TGradientButton* MakeGlyphButton(
    QWidget* parent, const char* name, const QString& caption, const char* glyph, const QRect& geometry)
{
    auto* button = MakeTextButton(parent, name, caption, geometry);
    button->SetGlyph(ShellGlyph(QLatin1String(glyph), 16));
    button->SetGlyphTransparent(true);
    return button;
}

void CentreOnScreen(QWidget* window)
{
    if (const QScreen* screen = window->screen())
        window->move(screen->availableGeometry().center() - window->rect().center());
}
