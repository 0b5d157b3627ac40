// vendaro-lab unprotect lab|config|login HEX
#include "tools/vendaro-lab/labcommand.h"
#include "tools/vendaro-lab/labkeys.h"

#include "lab/blowfish.h"

namespace {

int RunUnprotect(const QStringList& args)
{
    if (args.size() != 2)
        return LabFail(QStringLiteral("usage: vendaro-lab unprotect %1 HEX").arg(kLabKeyNames));
    const char* key = LabKeyByName(args[0]);
    if (!key)
        return LabFail("unknown key \"" + args[0] + "\"; use one of " + kLabKeyNames);
    try {
        LabPrint(TBlowFish(QByteArrayView(key)).DecodeText(args[1]));
    } catch (const EInvalidData& e) {
        return LabFail(QString::fromUtf8(e.what()));
    }
    return 0;
}

const LabCommand command(QStringLiteral("unprotect"), QStringLiteral("unprotect %1 HEX").arg(kLabKeyNames),
                         QStringLiteral("Prints the plain text of a protected value enciphered with that key (see protect)."),
                         RunUnprotect);

} // namespace
