#pragma once
// The pictures the shell draws itself: button glyphs and the message dialog's icons. They
// are SVG drawings on a 24-pixel grid in the program's resources (resources/glyphs), one
// family rendered at whatever size a control needs (16 on text buttons, 24 in toolbars,
// 50 in the message dialog). A skin's icons and images replace them on named controls.
#include <QColor>
#include <QImage>
#include <QString>
#include <QStringList>

#include <array>

// The glyph `name` (file name without ".svg") as a size x size ARGB32 picture; a null image
// when there is no such glyph. A valid `ink` replaces the family's outline colour (for dark
// skins).
QImage ShellGlyph(const QString& name, int size, const QColor& ink = {});

// Names of every glyph, sorted.
QStringList ShellGlyphNames();

// The main window's top bar: action, the button that shows it, the glyph it carries. A skin
// dresses these buttons through icons named after the buttons.
struct TTopBarButton {
    const char* action;
    const char* button;
    const char* glyph;
};
const std::array<TTopBarButton, 12>& TopBarButtons();
