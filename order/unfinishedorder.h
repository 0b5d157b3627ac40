#pragma once
// An order whose upload has not been verified on the lab's server yet. Its folder (rendered
// photos, ZIP, metadata) lies in the per-user data folder "orders" until the metadata is
// verified on the server; beside the files a small record (unfinished.txt) says what the upload
// sends and how far it got, so the next start can finish the order or drop it.
//
// The record is UTF-8 text, one item a line (LF), in this order:
//     VD: unfinished order 1
//     id=<order ID>                 1 to 64 of [0-9A-Za-z_-]
//     history=<history entry id>    empty when the entry could not be written
//     login=<login>                 for the post-order page's signature; no control characters
//     sent=<n>                      the first n files are verified on the server
//     file=<name>|<size>            once per file to send, in upload order, the metadata last
#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

inline constexpr char kUnfinishedRecordName[] = "unfinished.txt";

struct TUnfinishedFile {
    QString name; // in the order's folder: orderId + "_" + ...
    qint64 size = 0;
    bool operator==(const TUnfinishedFile&) const = default;
};

struct TUnfinishedOrder {
    QString orderId;
    QString historyId;
    QString login;
    int sent = 0; // files at the front of files verified on the server
    std::vector<TUnfinishedFile> files; // what the upload sends, the metadata file last
    QString folder; // where the order lies; not part of the record

    bool operator==(const TUnfinishedOrder&) const = default;
    // The local paths of files, in upload order.
    QStringList Paths() const;
};

// The record's text.
QByteArray UnfinishedOrderBytes(const TUnfinishedOrder& order);
// The record read back; nothing unless every line is as UnfinishedOrderBytes writes it: the
// header, each key once and in order, an ID and history id that are plain names, file names
// that begin with the ID and its "_" and hold only [0-9A-Za-z_.-], no name twice, sizes of 0
// to 2^53, sent at most the number of files, at least one file and the last one the metadata.
std::optional<TUnfinishedOrder> ParseUnfinishedOrder(const QByteArray& bytes);

// The per-user folder that holds the orders' folders (AppPath "orders", FileUse::Write).
QString OrdersFolder();
// The record's path in an order's folder.
QString UnfinishedRecordPath(const QString& folder);
// Writes the record into order.folder, whole or not at all.
bool WriteUnfinishedOrder(const TUnfinishedOrder& order);

// The unfinished orders in OrdersFolder(), oldest record first. A folder without a readable
// record, or whose files are no longer those the record names with their sizes, cannot be
// finished (the program ended before its upload, or its files were touched): it is deleted,
// logged at level 2.
std::vector<TUnfinishedOrder> FindUnfinishedOrders();
// Deletes every file of an order's folder (the record included) and the folder.
void DeleteOrderFolder(const QString& folder);

// "Dokończyć wysyłanie zlecenia ID (wysłano N z M plików) ?"
QString UnfinishedOrderQuestion(const TUnfinishedOrder& order);
