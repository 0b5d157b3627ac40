#pragma once
// The order ID: from the time of day ("%data%", "%data8%") or from the lab's order-ID script.
#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <optional>

// "yymmddhhnnss" followed by the milliseconds without leading zeros (13 to 15 digits).
QString OrderTimestamp(const QDateTime& time);

// The SDBM hash of OrderTimestamp(time): 8 upper-case hexadecimal digits, the first 0 to 7.
QString OrderHashId(const QDateTime& time);

// The ID in the first line of the script's answer (Windows-1250): the line lower-cased and
// trimmed, then what follows "id=". Only 1 to 64 characters of [0-9a-z_-] are an ID (it
// becomes part of file names); anything else gives nothing.
std::optional<QString> ParseOrderIdAnswer(const QByteArray& answer);

struct TOrderIdResult {
    bool ok = false;
    QString id;
    QString message; // for the customer when !ok
};

// The ID by the lab's "orderid" value: "%data%", "%data8%" or else the URL of the lab's script,
// fetched with QuietGetHTTP into the program's last.oid (which waits in a local event loop).
TOrderIdResult ObtainOrderId(const QString& rule, const QDateTime& now = QDateTime::currentDateTime());
