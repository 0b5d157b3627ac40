// vendaro-lab protect lab|config|login TEXT
#include "tools/vendaro-lab/labcommand.h"
#include "tools/vendaro-lab/labkeys.h"

#include "core/blowfish.h"
#include "platform/cp1250.h"

namespace {

const QString kUsage = QStringLiteral("protect %1 TEXT").arg(kLabKeyNames);

int RunProtect(const QStringList& args)
{
    const char* key = TakeKeyArgument(args, kUsage);
    if (!key)
        return 1;
    const QString& text = args[1];
    if (FromCp1250(ToCp1250(text)) != text)
        return LabFail(QStringLiteral("the text holds characters that Windows-1250 cannot store"));
    LabPrint(TBlowFish(QByteArrayView(key)).EncodeText(text));
    return 0;
}

const LabCommand command(QStringLiteral("protect"), kUsage,
    QStringLiteral("Prints TEXT enciphered as a protected value: \"lab\" for the lab's stamped files,\n"
                   "\"config\" for the user's config.ini, \"login\" for the saved login. The text is\n"
                   "enciphered as Windows-1250 bytes; an empty text gives an empty line."),
    RunProtect);

} // namespace
