#include "lab/sdbmhash.h"

#include "platform/cp1250.h"

void THashClass::Update(const uint8_t*, size_t) { }

void THashClass::AddText(const QString& text)
{
    const QByteArray bytes = ToCp1250(text);
    Update(reinterpret_cast<const uint8_t*>(bytes.constData()), static_cast<size_t>(bytes.size()));
}

QString THashClass::HashText() const
{
    return QStringLiteral("%1").arg(GetValue(), 8, 16, QLatin1Char('0')).toUpper();
}

void TSDBMHash::Update(const uint8_t* bytes, size_t length)
{
    for (size_t i = 0; i < length; ++i)
        value_ = bytes[i] + value_ * 65599u;
}
