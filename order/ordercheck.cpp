#include "order/ordercheck.h"

#include "order/metadatareader.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <zip.h>

#include <memory>
#include <optional>

namespace {

std::optional<int64_t> Number(const QString& text)
{
    bool ok = false;
    const int64_t value = text.toLongLong(&ok);
    return ok ? std::optional(value) : std::nullopt;
}

TOrderMetadata Broken(TOrderMetadata data, const QString& reason)
{
    data.ok = false;
    data.reason = reason;
    return data;
}

// A name from the metadata names a file of the order's folder, never a path.
bool PlainFileName(const QString& name)
{
    return !name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..") && !name.contains(u'/')
        && !name.contains(u'\\');
}

// The file of folder whose name equals name, letter case ignored; empty when there is none.
QString FindFile(const QString& folder, const QString& name)
{
    const QStringList entries = QDir(folder).entryList(QDir::Files | QDir::Hidden);
    for (const QString& entry : entries)
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return QDir(folder).filePath(entry);
    return {};
}

struct TZipCloser {
    void operator()(zip_t* archive) const { zip_discard(archive); }
};

// Every entry of the archive read whole (libzip checks each CRC); the names, or a reason.
std::optional<QStringList> ReadZipNames(const QString& path, QString& reason)
{
    int error = 0;
    std::unique_ptr<zip_t, TZipCloser> archive(
        zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY | ZIP_CHECKCONS, &error));
    if (!archive) {
        reason = QStringLiteral("the ZIP does not open (libzip error %1)").arg(error);
        return std::nullopt;
    }
    QStringList names;
    const zip_int64_t count = zip_get_num_entries(archive.get(), 0);
    QByteArray buffer(1 << 16, Qt::Uninitialized);
    for (zip_int64_t i = 0; i < count; ++i) {
        const QString name = QString::fromUtf8(zip_get_name(archive.get(), zip_uint64_t(i), 0));
        zip_file_t* file = zip_fopen_index(archive.get(), zip_uint64_t(i), 0);
        zip_int64_t got = file ? 0 : -1;
        while (file && (got = zip_fread(file, buffer.data(), zip_uint64_t(buffer.size()))) > 0) { }
        if (file)
            zip_fclose(file);
        if (got < 0) {
            reason = "the ZIP entry " + name + " does not read: " + QString::fromLocal8Bit(zip_strerror(archive.get()));
            return std::nullopt;
        }
        names << name;
    }
    return names;
}

} // namespace

TOrderMetadata ParseOrderMetadata(const QByteArray& bytes, const QString& id)
{
    TOrderMetadata data;
    const QStringList lines = ReadMetadataLines(bytes);
    if (MetadataValue(lines, QStringLiteral("metainfo")) != QLatin1String("VD: MetaData, version 1.5"))
        return Broken(data, QStringLiteral("the metadata has no metainfo line of version 1.5"));
    data.orderId = MetadataValue(lines, QStringLiteral("oid"));
    if (data.orderId.compare(id, Qt::CaseInsensitive) != 0)
        return Broken(data, "the metadata names the order " + data.orderId);
    const QString pack = MetadataValue(lines, QStringLiteral("pack"));
    if (pack != QLatin1String("0") && pack != QLatin1String("1"))
        return Broken(data, QStringLiteral("pack= is neither 0 nor 1"));
    data.pack = pack == QLatin1String("1");
    const std::optional<int64_t> size = Number(MetadataValue(lines, QStringLiteral("size")));
    const std::optional<int64_t> count = Number(MetadataValue(lines, QStringLiteral("count")));
    if (!size || !count || *count < 0 || *count > 1000000)
        return Broken(data, QStringLiteral("size= or count= is not a number"));
    data.size = *size;
    data.count = int(*count);
    for (int i = 0; i < data.count; ++i) {
        const QStringList fields = MetadataValue(lines, QStringLiteral("mtdata"), i).split(u'|');
        const QStringList source = MetadataValue(lines, QStringLiteral("rddata"), i).split(u'|');
        const std::optional<int64_t> quantity = fields.size() == 4 ? Number(fields[1]) : std::nullopt;
        if (!quantity || *quantity < 1 || !Number(fields[2]) || !Number(fields[3]))
            return Broken(data, QStringLiteral("mtdata line %1 is missing or malformed").arg(i + 1));
        if (source.size() != 4 || source[1] != fields[1] || !Number(source[3]))
            return Broken(data, QStringLiteral("rddata line %1 is missing or malformed").arg(i + 1));
        if (!PlainFileName(fields[0]))
            return Broken(data, "mtdata names no plain file: " + fields[0]);
        data.files << fields[0];
        data.prints += *quantity;
    }
    if (!MetadataValue(lines, QStringLiteral("mtdata"), data.count).isEmpty())
        return Broken(data, QStringLiteral("more mtdata lines than count="));
    data.ok = true;
    return data;
}

TOrderVerdict CheckOrder(const QString& folder, const QString& id)
{
    const auto broken = [&id](const QString& reason) { return TOrderVerdict { false, id + ": broken: " + reason }; };
    const QString metadataPath = FindFile(folder, id + "_metadata.txt");
    if (metadataPath.isEmpty())
        return broken("no " + id + "_metadata.txt in " + folder);
    const std::optional<QByteArray> bytes = ReadMetadataFile(metadataPath);
    if (!bytes)
        return broken("the metadata does not read");
    const TOrderMetadata data = ParseOrderMetadata(*bytes, id);
    if (!data.ok)
        return broken(data.reason);

    int64_t total = 0;
    if (data.pack) {
        const QString zipPath = FindFile(folder, id + "_pack.zip");
        if (zipPath.isEmpty())
            return broken("no " + id + "_pack.zip");
        QString reason;
        const std::optional<QStringList> names = ReadZipNames(zipPath, reason);
        if (!names)
            return broken(reason);
        if (QSet<QString>(names->begin(), names->end()) != QSet<QString>(data.files.begin(), data.files.end())
            || names->size() != data.files.size())
            return broken(QStringLiteral("the ZIP holds %1 files, not the %2 the metadata names")
                              .arg(names->size())
                              .arg(data.files.size()));
        total = QFileInfo(zipPath).size();
    } else {
        for (const QString& name : data.files) {
            const QString path = FindFile(folder, name);
            if (path.isEmpty())
                return broken("missing " + name);
            total += QFileInfo(path).size();
        }
    }
    if (total != data.size)
        return broken(QStringLiteral("size=%1 but the files hold %2 bytes").arg(data.size).arg(total));
    return { true,
        QStringLiteral("%1: complete: %2 photos, %3 prints, %4 bytes%5")
            .arg(id, QString::number(data.count), QString::number(data.prints), QString::number(total),
                data.pack ? QStringLiteral(" in the ZIP") : QString()) };
}
