#pragma once
// The preview window's caption and zoom rules.
#include <QString>

// Scale change of one wheel step: toward the user enlarges, away reduces.
inline constexpr double kWheelZoomStep = 0.05;
// The view never goes below this scale (the picture would vanish).
inline constexpr double kMinPreviewScale = 0.05;

// "powiększenie: 100,0% rozdzielczość: 1795x1205 rozmiar: 8 Mb" (the separator from the locale;
// the size counts 4 bytes per pixel and truncates to whole units).
QString PreviewCaption(double scale, int width, int height);

// The scale after `steps` wheel steps (positive: toward the user), never below the minimum.
double WheelZoom(double scale, int steps);
