#pragma once
// Where the main window opens: where the customer left it, or on a first start at a size that
// suits the screen.
#include <QRect>
#include <QSize>

#include <optional>

// The share of the screen's available area a first start fills, in each direction.
constexpr double kFirstStartShare = 0.8;

// The window's rectangle (without its frame) in `available`, the area of the screen it opens
// on. `left`, the rectangle it was closed in, is kept when it still meets that area, shrunk to
// fit and moved inside it; without one (or when it lies off every screen) the window takes
// kFirstStartShare of the area, centred. Never smaller than minimum, which wins over fitting.
QRect OpeningGeometry(const std::optional<QRect>& left, const QRect& available, const QSize& minimum);
