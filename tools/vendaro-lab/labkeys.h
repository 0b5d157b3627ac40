#pragma once
// The cipher keys the lab tool can use, by the names its commands take.
#include <QString>

// kLabKey, kConfigKey or kLoginKey for "lab", "config" or "login"; nullptr otherwise.
const char* LabKeyByName(const QString& name);

inline constexpr char kLabKeyNames[] = "lab|config|login";
