#pragma once
// The cipher keys the lab tool can use, by the names its commands take.
#include <QString>
#include <QStringList>

inline constexpr char kLabKeyNames[] = "lab|config|login";

// kLabKey, kConfigKey or kLoginKey for "lab", "config" or "login"; nullptr otherwise.
const char* LabKeyByName(const QString& name);

// The key named by args[0] of an "KEYNAME VALUE" argument list. On a wrong count or an
// unknown name prints the error (with usage) and returns nullptr.
const char* TakeKeyArgument(const QStringList& args, const QString& usage);
