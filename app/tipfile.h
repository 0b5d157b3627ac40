#pragma once
// The tips of the day: tips.ini in the program folder, section [tips] with "count", "pos"
// (the tip shown last, 1-based) and "tip1" ... "tipN".
#include <QString>

// Moves "pos" by step (+1 next, -1 previous, wrapping round) and writes it back at once;
// returns the tip there: "** BŁĄD **" when there are no tips, "Błąd !" when that tip is
// missing.
QString StepTip(const QString& tipsFile, int step);
