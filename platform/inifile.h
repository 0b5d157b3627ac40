#pragma once
// Windows private-profile INI files: case-insensitive sections and keys, trimmed values,
// the first occurrence wins, lines before the first section and ";" lines are comments.
// Writing a key rewrites the file at once and keeps every other line as it was; Set* change
// the lines in memory only, for callers that write many keys and then call UpdateFile once.
#include <QString>
#include <QStringList>

class TIniFile {
public:
    enum class Access { Normal, Private }; // Private: the file is written with mode 0600

    explicit TIniFile(QString path, Access access = Access::Normal);

    const QString& FileName() const { return path_; }
    bool FileExisted() const { return existed_; }

    QString ReadString(const QString& section, const QString& key, const QString& def) const;
    // A missing value or one that is not a whole number gives def.
    int ReadInteger(const QString& section, const QString& key, int def) const;
    // Stored as an integer: non-zero is true.
    bool ReadBool(const QString& section, const QString& key, bool def) const;

    bool SectionExists(const QString& section) const;
    bool ValueExists(const QString& section, const QString& key) const;
    QStringList ReadSections() const;
    QStringList ReadSection(const QString& section) const; // key names in file order
    // "key=value" for every key of the section, in file order (first occurrence of each key).
    QStringList ReadSectionValues(const QString& section) const;

    // Each returns false when the file cannot be written.
    bool WriteString(const QString& section, const QString& key, const QString& value);
    bool WriteInteger(const QString& section, const QString& key, int value);
    bool WriteBool(const QString& section, const QString& key, bool value);

    void SetString(const QString& section, const QString& key, const QString& value);
    void SetInteger(const QString& section, const QString& key, int value);
    void SetBool(const QString& section, const QString& key, bool value);
    // Writes the lines as they are now; false when the file cannot be written.
    bool UpdateFile() const;

private:
    struct Entry {
        int line = -1;
        QString key;
        QString value;
    };
    int FindSection(const QString& section) const; // index of the header line or -1
    int SectionEnd(int header) const; // index of the next header or line count
    Entry FindKey(const QString& section, const QString& key) const;

    QString path_;
    Access access_;
    bool existed_ = false;
    QStringList lines_;
};

// Private-profile number rules shared with other INI-like readers: optional sign, decimal,
// or hexadecimal after "$" or "0x"; surrounding spaces allowed; must fit 32 bits.
bool ParseIniInteger(const QString& text, int& value);
