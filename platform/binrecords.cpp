#include "platform/binrecords.h"

#include "platform/cp1250.h"

#include <QtEndian>

namespace {

constexpr int kCappedLimit = 1048575;

enum class LenRead { Ok, OutOfRange, Failed };

LenRead ReadLen(QIODevice& file, QString& s, int maxLen)
{
    s.clear();
    qint32 length = 0;
    if (!ReadInt32(file, length))
        return LenRead::Failed;
    if (length <= 0 || length > maxLen)
        return LenRead::OutOfRange;
    // A length beyond the end of a file is damage, not a reason to allocate it.
    if (!file.isSequential() && file.bytesAvailable() < length)
        return LenRead::Failed;
    const QByteArray bytes = file.read(length);
    if (bytes.size() != length)
        return LenRead::Failed;
    s = FromCp1250(bytes);
    return LenRead::Ok;
}

} // namespace

bool ReadInt32(QIODevice& file, qint32& value)
{
    char bytes[4];
    if (file.read(bytes, 4) != 4)
        return false;
    value = qFromLittleEndian<qint32>(bytes);
    return true;
}

bool WriteInt32(QIODevice& file, qint32 value)
{
    char bytes[4];
    qToLittleEndian<qint32>(value, bytes);
    return file.write(bytes, 4) == 4;
}

bool WriteLenString(QIODevice& file, const QString& s)
{
    const QByteArray bytes = ToCp1250(s);
    return WriteInt32(file, static_cast<qint32>(bytes.size()))
        && (bytes.isEmpty() || file.write(bytes) == bytes.size());
}

bool ReadLenString(QIODevice& file, QString& s, int maxLen)
{
    return ReadLen(file, s, maxLen) == LenRead::Ok;
}

bool ReadLenStringCapped(QIODevice& file, QString& s)
{
    return ReadLen(file, s, kCappedLimit) == LenRead::Ok;
}

bool WriteStringList(QIODevice& file, const QStringList& list)
{
    if (!WriteInt32(file, static_cast<qint32>(list.size())))
        return false;
    for (const QString& line : list)
        if (!WriteLenString(file, line))
            return false;
    return true;
}

bool ReadStringList(QIODevice& file, bool clearFirst, QStringList& list)
{
    if (clearFirst)
        list.clear();
    qint32 count = 0;
    if (!ReadInt32(file, count))
        return false;
    QString line;
    for (qint32 i = 0; i < count; ++i) {
        if (ReadLen(file, line, kCappedLimit) == LenRead::Failed)
            return false;
        list.append(line);
    }
    return true;
}
