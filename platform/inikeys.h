#pragma once
// INI files described by a table: one row per key names its section and key, the field of the
// owner that holds it, its built-in value and how it is checked or protected. Reading, writing
// and the built-in values all come from that one row, in the table's order.
#include "platform/inifile.h"

#include <QString>

#include <climits>
#include <functional>
#include <span>
#include <type_traits>
#include <variant>

template <class Owner> struct TIniKey {
    const char* section;
    const char* key;
    std::variant<bool Owner::*, int Owner::*, QString Owner::*> field;
    int number = 0; // built-in flag (0 or 1) or number; a missing key reads as it
    const char* text = ""; // built-in text
    const char* ifMissing = nullptr; // what an existing file without the key gives, when not text
    int lowest = INT_MIN; // a stored number outside lowest..highest takes the built-in one
    int highest = INT_MAX;
    bool enciphered = false; // text stored through the owner's cipher
};

template <class Owner>
constexpr TIniKey<Owner> IniFlag(const char* section, const char* key, bool Owner::*field, bool builtIn)
{
    return { section, key, field, builtIn ? 1 : 0 };
}

template <class Owner>
constexpr TIniKey<Owner> IniNumber(
    const char* section, const char* key, int Owner::*field, int builtIn, int lowest = INT_MIN, int highest = INT_MAX)
{
    return { section, key, field, builtIn, "", nullptr, lowest, highest };
}

template <class Owner>
constexpr TIniKey<Owner> IniText(const char* section, const char* key, QString Owner::*field, const char* builtIn = "",
    const char* ifMissing = nullptr)
{
    return { section, key, field, 0, builtIn, ifMissing };
}

// Always built in empty.
template <class Owner>
constexpr TIniKey<Owner> IniEnciphered(const char* section, const char* key, QString Owner::*field)
{
    return { .section = section, .key = key, .field = field, .enciphered = true };
}

template <class Owner> void SetBuiltIns(std::span<const TIniKey<Owner>> table, Owner& owner)
{
    for (const TIniKey<Owner>& row : table)
        std::visit(
            [&](auto field) {
                using Value = std::remove_reference_t<decltype(owner.*field)>;
                if constexpr (std::is_same_v<Value, QString>)
                    owner.*field = QString::fromLatin1(row.text);
                else
                    owner.*field = static_cast<Value>(row.number);
            },
            row.field);
}

// Decodes an enciphered text; it may throw, and the exception leaves ReadIniKeys.
template <class Owner> using TIniDecode = std::function<QString(const TIniKey<Owner>& row, const QString& stored)>;
// Told of a stored number outside its row's range before the built-in number is taken.
template <class Owner> using TIniOutOfRange = std::function<void(const TIniKey<Owner>& row, int stored)>;

template <class Owner>
void ReadIniKeys(const TIniFile& ini, std::span<const TIniKey<Owner>> table, Owner& owner,
    const TIniDecode<Owner>& decode, const TIniOutOfRange<Owner>& outOfRange = {})
{
    for (const TIniKey<Owner>& row : table) {
        const QString section = QString::fromLatin1(row.section);
        const QString key = QString::fromLatin1(row.key);
        std::visit(
            [&](auto field) {
                using Value = std::remove_reference_t<decltype(owner.*field)>;
                if constexpr (std::is_same_v<Value, bool>) {
                    owner.*field = ini.ReadBool(section, key, row.number != 0);
                } else if constexpr (std::is_same_v<Value, int>) {
                    const int stored = ini.ReadInteger(section, key, row.number);
                    const bool inRange = stored >= row.lowest && stored <= row.highest;
                    if (!inRange && outOfRange)
                        outOfRange(row, stored);
                    owner.*field = inRange ? stored : row.number;
                } else {
                    const QString stored
                        = ini.ReadString(section, key, QString::fromLatin1(row.ifMissing ? row.ifMissing : row.text));
                    owner.*field = row.enciphered ? decode(row, stored) : stored;
                }
            },
            row.field);
    }
}

// Sets every key of the table in memory; the caller writes the file once with UpdateFile.
template <class Owner>
void SetIniKeys(TIniFile& ini, std::span<const TIniKey<Owner>> table, const Owner& owner,
    const std::function<QString(const QString& plain)>& encode)
{
    for (const TIniKey<Owner>& row : table) {
        const QString section = QString::fromLatin1(row.section);
        const QString key = QString::fromLatin1(row.key);
        std::visit(
            [&](auto field) {
                const auto& value = owner.*field;
                using Value = std::remove_cvref_t<decltype(value)>;
                if constexpr (std::is_same_v<Value, bool>)
                    ini.SetBool(section, key, value);
                else if constexpr (std::is_same_v<Value, int>)
                    ini.SetInteger(section, key, value);
                else
                    ini.SetString(section, key, row.enciphered ? encode(value) : value);
            },
            row.field);
    }
}
