#pragma once
// How a lab checks an order that has arrived: its metadata file is there and reads, every
// file it names is there (inside the ZIP when the order is packed, the archive readable), and
// the sizes agree. Used by vendaro-lab check-order and the tests.
#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdint>

// What the metadata of an order says, as far as the check needs it.
struct TOrderMetadata {
    bool ok = false;
    QString reason; // why not ok
    QString orderId;
    bool pack = false;
    int64_t size = 0;
    int count = 0;
    int64_t prints = 0; // the quantities of the photos summed
    QStringList files; // the rendered files named by the mtdata lines, in order
};

// Reads metadata bytes and checks their form for the order id (case ignored).
TOrderMetadata ParseOrderMetadata(const QByteArray& bytes, const QString& id);

struct TOrderVerdict {
    bool ok = false;
    QString text; // one line: "ID: complete ..." or "ID: broken: reason"
};

// Checks the order id in folder. File names are matched ignoring letter case (an upload
// stores them in lower case).
TOrderVerdict CheckOrder(const QString& folder, const QString& id);
