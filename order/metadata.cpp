#include "order/metadata.h"

#include "core/textutils.h"
#include "lab/formats.h"
#include "lab/vdengine.h"
#include "platform/appdir.h"
#include "platform/cp1250.h"
#include "platform/process.h"
#include "project/uvdimage.h"

#include <QFileInfo>

namespace {

// Control characters would end a line or hide in it.
QString CleanValue(QString value)
{
    for (QChar& c : value)
        if (c.category() == QChar::Other_Control)
            c = u' ';
    return value;
}

// A name inside a matrix line: "|" separates its fields.
QString CleanField(const QString& value)
{
    return CleanValue(value).replace(u'|', u'_');
}

QString Decimal(int64_t value)
{
    return QString::number(value);
}

// key=field|field|...; joined, not formatted: a name may hold "%1" or "%%".
QString MatrixLine(const char* key, const QStringList& fields)
{
    return QLatin1String(key) + u'=' + fields.join(u'|');
}

} // namespace

QString OrderPhotoName(const QString& orderId, int n)
{
    return orderId + "_" + ZeroPad(n, 5) + ".jpg";
}

QStringList MetadataLines(TVDImage& project, const TEngine& engine, const TFormats& formats,
    const TOrderCustomer& customer, const TMetadataFacts& facts)
{
    const QString exe = ExecutablePath();
    const int64_t saved = facts.origSize - facts.orderSize;
    const QList<std::pair<const char*, QString>> head {
        { "metainfo", QStringLiteral("VD: MetaData, version 1.5") },
        { "creator", QFileInfo(exe).fileName() + ", " + VersionString(exe, QStringLiteral("Build ")) },
        { "oid", facts.orderId },
        { "date", facts.written.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")) },
        { "orygsize_r", FormatByteSize(facts.origSize, QStringLiteral("Tb")) },
        { "orygsize", Decimal(facts.origSize) },
        { "size_r", FormatByteSize(facts.orderSize, QStringLiteral("Tb")) },
        { "size", Decimal(facts.orderSize) },
        { "sizesaved_r", FormatByteSize(saved, QStringLiteral("Tb")) },
        { "sizesaved", Decimal(saved) },
        { "price", Decimal(project.OrderPrice(!customer.personalPickup, customer.payCash)) },
        { "deliveryprice", Decimal(engine.delivery_price) },
        { "deliverypricepre", Decimal(engine.delivery_pricepre) },
        { "minimalprice", Decimal(engine.min_price) },
        { "openprice", Decimal(engine.open_price) },
        { "truecount", Decimal(project.TotalQuantity()) },
        { "name", customer.name },
        { "street", customer.street },
        { "city", customer.city },
        { "phone", customer.phone },
        { "email", customer.email },
        { "login", customer.login },
        { "shopid", Decimal(customer.shop.id) },
        { "shopname", customer.shop.name },
        { "shopcity", customer.shop.city },
        { "shopstreet", customer.shop.street },
        { "shopphone", customer.shop.phone },
        { "shopemail", customer.shop.email },
        { "shopbank", customer.shop.bank },
    };
    QStringList lines;
    for (const auto& [key, value] : head)
        lines << QLatin1String(key) + "=" + CleanValue(value);
    const bool payments[] = { customer.payCash, customer.payTransfer, customer.payCard };
    for (int i = 0; i < 3; ++i)
        if (payments[i])
            lines << QStringLiteral("payby=%1").arg(i + 1);
    lines << QStringLiteral("deliverypost=%1").arg(customer.personalPickup ? 0 : 1);
    lines << QStringLiteral("pack=%1").arg(engine.pack ? 1 : 0);
    lines << QStringLiteral("vat=%1").arg(customer.vat ? 1 : 0);
    lines << QStringLiteral("count=%1").arg(project.Count());
    lines << QStringLiteral("mtmatrix=filename|quantity|formatid|price");
    for (int i = 0; i < project.Count(); ++i) {
        const TPhoto& photo = project.Photo(i);
        lines << MatrixLine("mtdata",
            { CleanField(OrderPhotoName(facts.orderId, i + 1)), Decimal(photo.quantity), Decimal(photo.formatId),
                Decimal(formats.GetPrice(photo.formatId)) });
    }
    lines << QStringLiteral("rdmatrix=srcfilename|quantity|formatname|price");
    for (int i = 0; i < project.Count(); ++i) {
        const TPhoto& photo = project.Photo(i);
        lines << MatrixLine("rddata",
            { CleanField(QFileInfo(photo.sourcePath).fileName()), Decimal(photo.quantity),
                CleanField(formats.GetName(photo.formatId)), Decimal(formats.GetPrice(photo.formatId)) });
    }
    return lines;
}

QByteArray MetadataBytes(const QStringList& lines)
{
    QByteArray bytes;
    for (const QString& line : lines)
        bytes += ToCp1250(line) + "\r\n";
    return bytes;
}
