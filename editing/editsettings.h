#pragma once
// The nine colour settings of the colour-correction window: where each one is shown, its
// range, and the Corrections field it edits. The window's controls are named after a
// setting's prefix ("inten_tb", "inten_edit", "inten_minus", "inten_plus", "inten_zero").
#include "imaging/colour.h"

#include <QString>

#include <array>
#include <cstdint>

struct TEditSetting {
    const char* prefix;
    const char* label;
    int page; // 1 brightness/contrast, 2 saturation, 3 colour balance, 4 hue/lightness
    int min;
    int max;
    int tickInterval;
    std::int32_t Corrections::*field;
};

// In the order in which controls are set from a record: inten, contr, balr, balg, balb, sat,
// hue1, hue2, hue3.
const std::array<TEditSetting, 9>& EditSettings();

// The step of the "-" and "+" buttons.
inline constexpr int kEditButtonStep = 5;
// What an edit box's text that is not a whole number counts as (limited to the maximum).
inline constexpr int kNotANumber = 99999;

// Index of the setting a control belongs to (its name up to the first "_"), or -1.
int EditSettingOfControl(const QString& controlName);

int SettingValue(const Corrections& record, int setting);
void SetSettingValue(Corrections& record, int setting, int value);

// value limited to the setting's range.
int LimitSetting(int setting, int value);

// The edit box's text as a decimal integer; anything else is kNotANumber.
int SettingTextValue(const QString& text);

// The colour settings of record made neutral (nine values 0, colour mode), its geometry kept.
void ResetColourSettings(Corrections& record);

// The colour settings of from with the rotation and crop of geometry.
Corrections WithGeometryOf(const Corrections& from, const Corrections& geometry);
