#include "ui/designfonts.h"

#include <QStringList>

QFont DesignFont(const QString& family, int pointSize, bool bold)
{
    QFont font;
    const bool monospace = family.contains(QLatin1String("Console"), Qt::CaseInsensitive);
    font.setFamilies({ family, monospace ? QStringLiteral("DejaVu Sans Mono") : QStringLiteral("DejaVu Sans") });
    font.setStyleHint(monospace ? QFont::Monospace : QFont::SansSerif);
    font.setPointSize(pointSize);
    font.setBold(bold);
    return font;
}
