#pragma once
// Name=value lines with lookup by a hash of the name (case-insensitive for ASCII letters).
#include "core/typedlists.h"

#include <QString>
#include <QStringList>

#include <cstdint>

class TValueList {
public:
    QStringList lines; // filled by the owner; call Rebuild() after changing it
    TIntList nameHashes; // hash of each line's name, valid after Rebuild()

    void Rebuild();
    bool Contains(const QString& name) const;
    // The trimmed value of match number occurrence (0 = the first), or an empty string.
    // Names are compared by hash only.
    QString GetValue(const QString& name, int occurrence = 0) const;

    // The 32-bit ELF/PJW hash of the Windows-1250 bytes of name, ASCII letters lower-cased.
    static uint32_t NameHash(const QString& name);
};
