#include "editing/editsettings.h"

#include <algorithm>
#include <cstdint>

namespace {

constexpr std::array<TEditSetting, 9> kSettings { {
    { "inten", "Jasność", 1, -100, 100, 10, &Corrections::inten },
    { "contr", "Kontrast", 1, -100, 100, 10, &Corrections::contr },
    { "balr", "Czerwony/Cyan", 3, -100, 100, 10, &Corrections::balr },
    { "balg", "Zielony/Magenta", 3, -100, 100, 10, &Corrections::balg },
    { "balb", "Niebieski/Żółty", 3, -100, 100, 10, &Corrections::balb },
    { "sat", "Nasycenie", 2, -100, 100, 10, &Corrections::sat },
    { "hue1", "Barwa/Odcień", 4, -180, 180, 20, &Corrections::hue1 },
    { "hue2", "Nasycenie", 4, -100, 100, 10, &Corrections::hue2 },
    { "hue3", "Świecenie", 4, -100, 100, 10, &Corrections::hue3 },
} };

std::int32_t Corrections::*FieldOf(int setting)
{
    return kSettings[std::size_t(setting)].field;
}

} // namespace

const std::array<TEditSetting, 9>& EditSettings()
{
    return kSettings;
}

int EditSettingOfControl(const QString& controlName)
{
    const QString prefix = controlName.section(u'_', 0, 0);
    for (std::size_t i = 0; i < kSettings.size(); ++i)
        if (prefix == QLatin1String(kSettings[i].prefix))
            return int(i);
    return -1;
}

int SettingValue(const Corrections& record, int setting)
{
    return record.*FieldOf(setting);
}

void SetSettingValue(Corrections& record, int setting, int value)
{
    record.*FieldOf(setting) = value;
}

int LimitSetting(int setting, int value)
{
    const TEditSetting& entry = kSettings[std::size_t(setting)];
    return std::clamp(value, entry.min, entry.max);
}

int SettingTextValue(const QString& text)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok, 10);
    return ok ? value : kNotANumber;
}

void ResetColourSettings(Corrections& record)
{
    for (std::size_t i = 0; i < kSettings.size(); ++i)
        SetSettingValue(record, int(i), 0);
    record.blackWhite = 0;
    record.sepia = 0;
}

Corrections WithGeometryOf(const Corrections& from, const Corrections& geometry)
{
    Corrections result = from;
    result.rotation = geometry.rotation;
    result.crop = geometry.crop;
    return result;
}
