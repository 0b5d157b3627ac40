#pragma once
// The order's metadata file: key=value lines in Windows-1250 ended by CR LF, telling the lab
// who ordered what (read back with order/metadatareader.h).
#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>

#include <cstdint>

class TEngine;
class TFormats;
class TVDImage;

// The chosen pickup shop as the metadata names it; id -1 is the lab itself.
struct TShopChoice {
    int id = -1;
    QString name;
    QString city;
    QString street;
    QString phone;
    QString email;
    QString bank;
};

// What the customer entered in the send-order window.
struct TOrderCustomer {
    QString name;
    QString street;
    QString city;
    QString phone;
    QString email;
    QString login; // empty when the lab has no login
    TShopChoice shop;
    bool personalPickup = false; // else delivery by post
    bool payCash = false;
    bool payTransfer = false;
    bool payCard = false;
    bool vat = false;
};

// What the order package knows when the metadata is written.
struct TMetadataFacts {
    QString orderId;
    int64_t origSize = 0; // the photos' source files
    int64_t orderSize = 0; // the rendered files, or the ZIP
    QDateTime written; // local time the file is written
};

// The file name of photo n (1-based) of an order: orderId + "_" + 5-digit n + ".jpg".
QString OrderPhotoName(const QString& orderId, int n);

// The metadata lines in their fixed order. A value never breaks the format: control
// characters (CR, LF, ...) become spaces, and a "|" inside a file or format name of the
// matrix lines becomes "_". OrderPrice of the project is asked (it sets its
// openingChargeApplied).
QStringList MetadataLines(TVDImage& project, const TEngine& engine, const TFormats& formats,
    const TOrderCustomer& customer, const TMetadataFacts& facts);

// The lines as the file holds them: Windows-1250, each ended by CR LF.
QByteArray MetadataBytes(const QStringList& lines);
