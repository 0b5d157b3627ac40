#include "tools/vendaro-lab/labkeys.h"

#include "lab/blowfish.h"

const char* LabKeyByName(const QString& name)
{
    if (name == QLatin1String("lab"))
        return kLabKey;
    if (name == QLatin1String("config"))
        return kConfigKey;
    if (name == QLatin1String("login"))
        return kLoginKey;
    return nullptr;
}
