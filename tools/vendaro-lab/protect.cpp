// vendaro-lab protect lab|config|login TEXT
#include "tools/vendaro-lab/labcommand.h"
#include "tools/vendaro-lab/labkeys.h"

#include "lab/blowfish.h"
#include "platform/cp1250.h"

namespace {

int RunProtect(const QStringList& args)
{
    if (args.size() != 2)
        return LabFail(QStringLiteral("usage: vendaro-lab protect %1 TEXT").arg(kLabKeyNames));
    const char* key = LabKeyByName(args[0]);
    if (!key)
        return LabFail("unknown key \"" + args[0] + "\"; use one of " + kLabKeyNames);
    const QString& text = args[1];
    if (FromCp1250(ToCp1250(text)) != text)
        return LabFail(QStringLiteral("the text holds characters that Windows-1250 cannot store"));
    LabPrint(TBlowFish(QByteArrayView(key)).EncodeText(text));
    return 0;
}

const LabCommand command(QStringLiteral("protect"), QStringLiteral("protect %1 TEXT").arg(kLabKeyNames),
                         QStringLiteral("Prints TEXT enciphered as a protected value: \"lab\" for the lab's stamped files,\n"
                                        "\"config\" for the user's config.ini, \"login\" for the saved login. The text is\n"
                                        "enciphered as Windows-1250 bytes; an empty text gives an empty line."),
                         RunProtect);

} // namespace
