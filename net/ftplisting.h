#pragma once
// Detailed FTP listings: the machine listing of MLSD (facts "type=file;size=12; name") and the
// human listings of LIST in the Unix ("-rw-r--r-- 1 u g 12 Jan 01 12:00 name") and DOS
// ("01-31-24  09:15AM  12 name", "<DIR>" for folders) styles. Names come from the server: an
// item whose name could be read as a path (empty, ".", "..", or holding "/", "\" or a control
// character) is dropped, so every name that leaves here is a plain file name.
#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

#include <optional>

enum class TFtpItemKind { File, Directory, Other }; // Other: links, devices, unknown types

struct TFtpListItem {
    QString name;
    TFtpItemKind kind = TFtpItemKind::File;
    qint64 size = -1; // bytes; -1 when the listing does not say

    bool IsFile() const { return kind == TFtpItemKind::File; }
    bool IsDir() const { return kind == TFtpItemKind::Directory; }
    bool operator==(const TFtpListItem&) const = default;
};

enum class TFtpListingKind { Mlsd, List };

// Every readable item of a listing (lines end in CR LF or LF; unreadable lines, "total"
// lines and MLSD's entries for the folder itself and its parent are skipped). Names are
// UTF-8 when utf8Names is set (the server announced UTF8), else Windows-1250.
QList<TFtpListItem> ParseFtpListing(const QByteArray& listing, TFtpListingKind kind, bool utf8Names);

// One line of either kind.
std::optional<TFtpListItem> ParseMlsdLine(QByteArrayView line, bool utf8Names);
std::optional<TFtpListItem> ParseListLine(QByteArrayView line, bool utf8Names);

// Whether a name from a server is a plain file name (see above).
bool IsPlainRemoteName(const QString& name);
