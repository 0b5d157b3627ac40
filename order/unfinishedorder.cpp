#include "order/unfinishedorder.h"

#include "core/log.h"
#include "platform/appdir.h"
#include "platform/files.h"
#include "platform/paths.h"

#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>

namespace {

const QByteArray kHeader = "VD: unfinished order 1";
constexpr qint64 kMaxFileSize = qint64(1) << 53;
constexpr int kMaxFiles = 1000000;
constexpr int kMaxLogin = 1024;

bool IsPlainName(const QString& text)
{
    static const QRegularExpression plain(QStringLiteral("^[0-9A-Za-z_-]{1,64}$"));
    return plain.match(text).hasMatch();
}

bool IsOrderFileName(const QString& name, const QString& orderId)
{
    static const QRegularExpression file(QStringLiteral("^[0-9A-Za-z_.-]{1,128}$"));
    return name.startsWith(orderId + "_") && file.match(name).hasMatch() && !name.contains(QLatin1String(".."));
}

bool HasControlCharacter(const QString& text)
{
    return std::any_of(text.begin(), text.end(), [](QChar c) { return c.category() == QChar::Other_Control; });
}

// The value of line after "key=", or nothing when the line is not that key.
std::optional<QString> Value(const QByteArray& line, const char* key)
{
    const QByteArray prefix = QByteArray(key) + "=";
    if (!line.startsWith(prefix))
        return std::nullopt;
    const QByteArray value = line.mid(prefix.size());
    const QString text = QString::fromUtf8(value);
    if (text.toUtf8() != value) // not UTF-8: the record was not written by the program
        return std::nullopt;
    return text;
}

std::optional<qint64> Number(const QString& text, qint64 max)
{
    static const QRegularExpression digits(QStringLiteral("^(0|[1-9][0-9]{0,17})$"));
    if (!digits.match(text).hasMatch())
        return std::nullopt;
    const qint64 value = text.toLongLong();
    if (value > max)
        return std::nullopt;
    return value;
}

std::optional<TUnfinishedFile> FileItem(const QString& text, const QString& orderId)
{
    const qsizetype bar = text.indexOf('|');
    if (bar < 0)
        return std::nullopt;
    TUnfinishedFile file { text.left(bar), 0 };
    const std::optional<qint64> size = Number(text.mid(bar + 1), kMaxFileSize);
    if (!size || !IsOrderFileName(file.name, orderId))
        return std::nullopt;
    file.size = *size;
    return file;
}

} // namespace

QStringList TUnfinishedOrder::Paths() const
{
    QStringList paths;
    for (const TUnfinishedFile& file : files)
        paths << folder + "/" + file.name;
    return paths;
}

QByteArray UnfinishedOrderBytes(const TUnfinishedOrder& order)
{
    QByteArray bytes = kHeader + "\n";
    bytes += "id=" + order.orderId.toUtf8() + "\n";
    bytes += "history=" + order.historyId.toUtf8() + "\n";
    bytes += "login=" + order.login.toUtf8() + "\n";
    bytes += "sent=" + QByteArray::number(order.sent) + "\n";
    for (const TUnfinishedFile& file : order.files)
        bytes += "file=" + file.name.toUtf8() + "|" + QByteArray::number(file.size) + "\n";
    return bytes;
}

std::optional<TUnfinishedOrder> ParseUnfinishedOrder(const QByteArray& bytes)
{
    if (!bytes.endsWith('\n'))
        return std::nullopt; // cut short
    QList<QByteArray> lines = bytes.split('\n');
    lines.removeLast();
    if (lines.size() < 6 || lines.size() > 5 + kMaxFiles || lines[0] != kHeader)
        return std::nullopt;
    TUnfinishedOrder order;
    const std::optional<QString> id = Value(lines[1], "id");
    const std::optional<QString> history = Value(lines[2], "history");
    const std::optional<QString> login = Value(lines[3], "login");
    const std::optional<QString> sentText = Value(lines[4], "sent");
    if (!id || !IsPlainName(*id) || !history || (!history->isEmpty() && !IsPlainName(*history)) || !login
        || login->size() > kMaxLogin || HasControlCharacter(*login) || !sentText)
        return std::nullopt;
    order.orderId = *id;
    order.historyId = *history;
    order.login = *login;
    for (qsizetype i = 5; i < lines.size(); ++i) {
        const std::optional<QString> item = Value(lines[i], "file");
        std::optional<TUnfinishedFile> file = item ? FileItem(*item, order.orderId) : std::nullopt;
        if (!file)
            return std::nullopt;
        const auto same = [&file](const TUnfinishedFile& other) { return other.name == file->name; };
        if (std::any_of(order.files.begin(), order.files.end(), same))
            return std::nullopt;
        order.files.push_back(std::move(*file));
    }
    const std::optional<qint64> sent = Number(*sentText, qint64(order.files.size()));
    if (!sent || order.files.back().name != order.orderId + "_metadata.txt")
        return std::nullopt;
    order.sent = int(*sent);
    return order;
}

QString OrdersFolder()
{
    return AppPath(QStringLiteral("orders"), FileUse::Write);
}

QString UnfinishedRecordPath(const QString& folder)
{
    return folder + "/" + QLatin1String(kUnfinishedRecordName);
}

bool WriteUnfinishedOrder(const TUnfinishedOrder& order)
{
    QString error;
    if (WriteFileAtomically(UnfinishedRecordPath(order.folder), UnfinishedOrderBytes(order), &error))
        return true;
    Log("Unable to save the unfinished order's record in " + order.folder + ": " + error, 2);
    return false;
}

namespace {

// The record of folder when the files it names are there with their sizes.
std::optional<TUnfinishedOrder> ReadOrderFolder(const QString& folder)
{
    QFile file(UnfinishedRecordPath(folder));
    if (!file.open(QIODevice::ReadOnly) || file.size() > 64 * 1024 * 1024)
        return std::nullopt;
    std::optional<TUnfinishedOrder> order = ParseUnfinishedOrder(file.readAll());
    if (!order)
        return std::nullopt;
    order->folder = folder;
    for (const TUnfinishedFile& item : order->files)
        if (QFileInfo info(folder + "/" + item.name); !info.isFile() || info.size() != item.size)
            return std::nullopt;
    return order;
}

} // namespace

std::vector<TUnfinishedOrder> FindUnfinishedOrders()
{
    QStringList folders;
    ListFiles(OrdersFolder() + "/*", faDirectory | faHidden, folders);
    std::vector<std::pair<QDateTime, TUnfinishedOrder>> found;
    for (const QString& folder : std::as_const(folders)) {
        if (!QFileInfo(folder).isDir())
            continue;
        if (std::optional<TUnfinishedOrder> order = ReadOrderFolder(folder)) {
            found.emplace_back(QFileInfo(UnfinishedRecordPath(folder)).lastModified(), std::move(*order));
            continue;
        }
        Log("Order folder " + folder + " cannot be finished, deleted", 2);
        DeleteOrderFolder(folder);
    }
    std::stable_sort(found.begin(), found.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<TUnfinishedOrder> orders;
    for (auto& entry : found)
        orders.push_back(std::move(entry.second));
    return orders;
}

void DeleteOrderFolder(const QString& folder)
{
    QStringList files;
    ListFiles(folder + "/*", faHidden, files);
    for (const QString& path : std::as_const(files))
        DeleteFileForced(path);
    RemoveEmptyDir(folder);
}

QString UnfinishedOrderQuestion(const TUnfinishedOrder& order)
{
    return QStringLiteral("Dokończyć wysyłanie zlecenia %1 (wysłano %2 z %3 plików) ?")
        .arg(order.orderId, QString::number(order.sent), QString::number(order.files.size()));
}
