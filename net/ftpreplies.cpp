#include "net/ftpreplies.h"

#include <QByteArray>
#include <QList>

namespace {

std::optional<qint64> ParseDecimal64(QByteArrayView text)
{
    if (text.isEmpty() || text.size() > 18)
        return std::nullopt;
    qint64 value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

// The reply's text after its status ("213 " or "213-").
QByteArrayView AfterStatus(QByteArrayView reply)
{
    return reply.size() >= 4 ? reply.sliced(4) : QByteArrayView();
}

} // namespace

TFtpFeatures ParseFtpFeatures(QByteArrayView reply)
{
    TFtpFeatures features;
    for (const QByteArray& raw : reply.toByteArray().split('\n')) {
        // Feature lines begin with a space; the first and last lines carry the status.
        const QByteArray line = raw.trimmed().toUpper().simplified();
        const QByteArray name = line.left(line.indexOf(' ') < 0 ? line.size() : line.indexOf(' '));
        const QByteArray parameters = line.mid(name.size()).trimmed();
        if (name == "MLST")
            features.mlsd = true;
        else if (name == "UTF8")
            features.utf8 = true;
        else if (name == "SIZE")
            features.size = true;
        else if (name == "REST" && parameters.split(' ').contains("STREAM"))
            features.restStream = true;
        else if (name == "AUTH" && parameters.split(';').contains("TLS"))
            features.authTls = true;
    }
    return features;
}

bool RestReplyAccepted(int status, QByteArrayView reply, qint64 offset)
{
    if (status != 350)
        return false;
    const QByteArrayView text = AfterStatus(reply);
    qsizetype begin = 0;
    while (begin < text.size() && (text[begin] < '0' || text[begin] > '9'))
        ++begin;
    if (begin == text.size())
        return true; // "350 Restart position accepted."
    qsizetype end = begin;
    while (end < text.size() && text[end] >= '0' && text[end] <= '9')
        ++end;
    const std::optional<qint64> named = ParseDecimal64(text.sliced(begin, end - begin));
    return named && *named == offset;
}

std::optional<qint64> ParseSizeReply(int status, QByteArrayView reply)
{
    if (status != 213)
        return std::nullopt;
    return ParseDecimal64(AfterStatus(reply).trimmed());
}
