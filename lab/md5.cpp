#include "lab/md5.h"

#include "platform/cp1250.h"

#include <QCryptographicHash>

QString MD5Hex(const QString& text)
{
    return QString::fromLatin1(QCryptographicHash::hash(ToCp1250(text), QCryptographicHash::Md5).toHex());
}
