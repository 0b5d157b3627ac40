#pragma once
// Turns a button's glyph into the picture that is drawn: the transparent colour (the
// glyph's bottom-left pixel) cut out, and a disabled button's glyph recoloured.
#include "skin/controltypes.h"

#include <QImage>

struct TGlyphLook {
    bool transparent = false; // the bottom-left pixel's colour is see-through
    bool disabled = false; // recolour per style
    vd::TDisabledGlyphStyle style = vd::dgBW;
    int brightness = 0; // dgLighten adds |brightness|, dgDarken subtracts it
};

// An ARGB32 copy ready to draw; pixels that are already see-through stay so.
QImage GlyphForDrawing(const QImage& glyph, const TGlyphLook& look);
