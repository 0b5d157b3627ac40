#include "app/tipfile.h"

#include "platform/inifile.h"

QString StepTip(const QString& tipsFile, int step)
{
    TIniFile tips(tipsFile);
    const QString section = QStringLiteral("tips");
    const int count = tips.ReadInteger(section, "count", 0);
    if (count <= 0)
        return QStringLiteral("** BŁĄD **");
    int pos = tips.ReadInteger(section, "pos", 0) + step;
    if (pos > count)
        pos = 1;
    if (pos < 1)
        pos = count;
    tips.WriteInteger(section, "pos", pos);
    const QString key = QStringLiteral("tip%1").arg(pos);
    if (!tips.ValueExists(section, key))
        return QStringLiteral("Błąd !");
    return tips.ReadString(section, key, QString());
}
