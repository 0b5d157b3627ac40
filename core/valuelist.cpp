#include "core/valuelist.h"

#include "core/textutils.h"
#include "platform/cp1250.h"

uint32_t TValueList::NameHash(const QString& name)
{
    uint32_t h = 0;
    for (const char byte : ToCp1250(name)) {
        uint32_t c = static_cast<uint8_t>(byte);
        if (c >= 'A' && c <= 'Z')
            c += 32;
        const uint32_t b = c + h * 16;
        h = b < 0x10000000u ? b : (b ^ ((b >> 28) << 4)) & ~(b & 0xF0000000u);
    }
    return h;
}

void TValueList::Rebuild()
{
    nameHashes.Clear();
    for (const QString& line : lines)
        nameHashes.Add(static_cast<int32_t>(NameHash(SplitNameValue(line).name)));
}

bool TValueList::Contains(const QString& name) const
{
    const auto hash = static_cast<int32_t>(NameHash(name));
    for (int i = 0; i < nameHashes.Count(); ++i)
        if (nameHashes.Get(i) == hash)
            return true;
    return false;
}

QString TValueList::GetValue(const QString& name, int occurrence) const
{
    const auto hash = static_cast<int32_t>(NameHash(name));
    int seen = 0;
    for (int i = 0; i < nameHashes.Count() && i < lines.size(); ++i) {
        if (nameHashes.Get(i) != hash)
            continue;
        if (++seen > occurrence)
            return SplitNameValue(lines[i]).value;
    }
    return {};
}
