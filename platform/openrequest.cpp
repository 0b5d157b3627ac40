#include "platform/openrequest.h"

#include <QDir>
#include <QFileInfo>
#include <QUrl>

namespace {

const QByteArray kHeader = QByteArrayLiteral("vendaro-open ");

} // namespace

QStringList PathsFromArguments(const QStringList& arguments)
{
    QStringList paths;
    bool switches = true;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (switches && argument == QLatin1String("--")) {
            switches = false;
            continue;
        }
        if (argument.isEmpty() || (switches && argument.startsWith(u'-')))
            continue;
        const QString path = argument.startsWith(QLatin1String("file:")) ? QUrl(argument).toLocalFile() : argument;
        if (!path.isEmpty())
            paths << QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    }
    return paths;
}

QByteArray EncodeOpenRequest(const QStringList& paths)
{
    QByteArray message = kHeader + QByteArray::number(paths.size()) + '\n';
    for (const QString& path : paths)
        message += path.toUtf8() + '\0';
    return message;
}

TOpenRequest ParseOpenRequest(const QByteArray& message)
{
    TOpenRequest request;
    if (message.size() > kMaxOpenRequestBytes) {
        request.status = TOpenRequest::Bad;
        return request;
    }
    const qsizetype compared = std::min(message.size(), kHeader.size());
    const qsizetype lineEnd = message.indexOf('\n');
    if (message.left(compared) != kHeader.left(compared) || (lineEnd < 0 && message.size() > kHeader.size() + 6)) {
        request.status = TOpenRequest::Bad;
        return request;
    }
    if (lineEnd < 0)
        return request;
    const QByteArray count = message.mid(kHeader.size(), lineEnd - kHeader.size());
    // Digits only, as written: no sign, no leading zero.
    bool ok = !count.isEmpty() && count.size() <= 6 && (count.size() == 1 || count[0] != '0')
        && std::all_of(count.begin(), count.end(), [](char c) { return c >= '0' && c <= '9'; });
    const int expected = ok ? count.toInt(&ok) : 0;
    if (!ok || expected > kMaxOpenPaths) {
        request.status = TOpenRequest::Bad;
        return request;
    }
    qsizetype at = lineEnd + 1;
    while (request.paths.size() < expected) {
        const qsizetype end = message.indexOf('\0', at);
        if (end < 0) {
            request.paths.clear();
            return request;
        }
        if (end == at) {
            request.status = TOpenRequest::Bad;
            return request;
        }
        request.paths << QString::fromUtf8(message.mid(at, end - at));
        at = end + 1;
    }
    request.status = at == message.size() ? TOpenRequest::Complete : TOpenRequest::Bad;
    if (request.status == TOpenRequest::Bad)
        request.paths.clear();
    return request;
}
