#include "project/projectinput.h"

#include "core/textutils.h"

#include <QFileInfo>

TQuantityInput ParseQuantity(const QString& text, int& quantity)
{
    bool ok = false;
    int n = text.trimmed().toInt(&ok);
    if (!ok)
        n = -1;
    quantity = n;
    if (n == 0)
        return TQuantityInput::Zero;
    return n < 0 || n >= 100 ? TQuantityInput::Invalid : TQuantityInput::Valid;
}

QString RenamedName(const QString& currentName, const QString& text)
{
    const QString name = TrimText(text);
    if (name.isEmpty())
        return {};
    const QString folder = QFileInfo(currentName).path();
    return folder.endsWith(u'/') ? folder + name : folder + u'/' + name;
}
