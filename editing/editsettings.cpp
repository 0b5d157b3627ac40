#include "editing/editsettings.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace {

constexpr std::array<TEditSetting, 9> kSettings{{
    {"inten", "Janość", 1, -100, 100, 10, offsetof(Corrections, inten)},
    {"contr", "Kontrast", 1, -100, 100, 10, offsetof(Corrections, contr)},
    {"balr", "Czerwony/Cyan", 3, -100, 100, 10, offsetof(Corrections, balr)},
    {"balg", "Zielony/Magenta", 3, -100, 100, 10, offsetof(Corrections, balg)},
    {"balb", "Niebieski/Yellow", 3, -100, 100, 10, offsetof(Corrections, balb)},
    {"sat", "Nasycenie", 2, -100, 100, 10, offsetof(Corrections, sat)},
    {"hue1", "Barwa/Odcień", 4, -180, 180, 20, offsetof(Corrections, hue1)},
    {"hue2", "Nasycenie", 4, -100, 100, 10, offsetof(Corrections, hue2)},
    {"hue3", "Świecenie", 4, -100, 100, 10, offsetof(Corrections, hue3)},
}};

// The record is packed: its fields are copied, never referenced.
std::size_t OffsetOf(int setting)
{
    return kSettings[std::size_t(setting)].offset;
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
    std::int32_t value = 0;
    std::memcpy(&value, reinterpret_cast<const unsigned char*>(&record) + OffsetOf(setting), sizeof value);
    return value;
}

void SetSettingValue(Corrections& record, int setting, int value)
{
    const std::int32_t stored = value;
    std::memcpy(reinterpret_cast<unsigned char*>(&record) + OffsetOf(setting), &stored, sizeof stored);
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
