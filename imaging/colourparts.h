#pragma once
// The parts the colour definitions of imaging/colour.h are made of, shared with the
// whole-picture pass so that its tables and shortcuts start from exactly what the definitions
// compute.
#include "imaging/colour.h"

// The factors of AdjustSaturation(v): d = -(v / 100) * 0.33 and e = 1 - 2d as 32-bit floats.
struct SaturationFactors {
    float e;
    float d;
};
SaturationFactors SaturationFactorsOf(int v);

// float(c / 255): a channel as the HSL conversion sees it.
float ChannelFraction(int c);

// The two mixing levels of HslToRgb for a saturation s != 0.
struct HslMix {
    float m1;
    float m2;
};
HslMix MixOf(float l, float s);

// One channel of HslToRgb: x is the hue in turns (shifted by +-1/3 for red and blue).
int HueToChannel(float x, float m1, float m2);

// AdjustHsl before the conversion back: hue + hue (wrapped once into 0..360), saturation +
// sat / 100 and lightness + light / 100 (both limited to 0..1).
Hsl ShiftHsl(Hsl colour, int hue, int sat, int light);
