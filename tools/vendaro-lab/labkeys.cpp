#include "tools/vendaro-lab/labkeys.h"

#include "tools/vendaro-lab/labcommand.h"

#include "core/blowfish.h"

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

const char* TakeKeyArgument(const QStringList& args, const QString& usage)
{
    if (args.size() != 2) {
        LabFail("usage: vendaro-lab " + usage);
        return nullptr;
    }
    const char* key = LabKeyByName(args[0]);
    if (!key)
        LabFail("unknown key \"" + args[0] + "\"; use one of " + kLabKeyNames);
    return key;
}
