// vendaro-lab unprotect lab|config|login HEX
#include "tools/vendaro-lab/labcommand.h"
#include "tools/vendaro-lab/labkeys.h"

#include "core/blowfish.h"

namespace {

const QString kUsage = QStringLiteral("unprotect %1 HEX").arg(kLabKeyNames);

int RunUnprotect(const QStringList& args)
{
    const char* key = TakeKeyArgument(args, kUsage);
    if (!key)
        return 1;
    try {
        LabPrint(TBlowFish(QByteArrayView(key)).DecodeText(args[1]));
    } catch (const EInvalidData& e) {
        return LabFail(QString::fromUtf8(e.what()));
    }
    return 0;
}

const LabCommand command(QStringLiteral("unprotect"), kUsage,
    QStringLiteral("Prints the plain text of a protected value enciphered with that key (see protect)."), RunUnprotect);

} // namespace
