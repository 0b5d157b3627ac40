#include "order/orderid.h"

#include "core/textutils.h"
#include "lab/sdbmhash.h"
#include "net/quietget.h"
#include "platform/appdir.h"
#include "platform/cp1250.h"

#include <QFile>

#include <algorithm>

namespace {

constexpr int kMaxIdLength = 64;
constexpr qint64 kMaxAnswerBytes = 64 * 1024; // the answer is one short line

bool IsIdCharacter(QChar c)
{
    return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'z') || c == u'_' || c == u'-';
}

} // namespace

QString OrderTimestamp(const QDateTime& time)
{
    return time.toString(QStringLiteral("yyMMddHHmmss")) + QString::number(time.time().msec());
}

QString OrderHashId(const QDateTime& time)
{
    TSDBMHash hash;
    hash.AddText(OrderTimestamp(time));
    return hash.HashText();
}

std::optional<QString> ParseOrderIdAnswer(const QByteArray& answer)
{
    const QStringList lines = SplitTextLines(FromCp1250(answer));
    const QString line = lines.isEmpty() ? QString() : TrimText(lines.first().toLower());
    static const QString prefix = QStringLiteral("id=");
    if (!line.startsWith(prefix))
        return std::nullopt;
    const QString id = line.mid(prefix.size());
    if (id.isEmpty() || id.size() > kMaxIdLength || !std::all_of(id.begin(), id.end(), IsIdCharacter))
        return std::nullopt;
    return id;
}

TOrderIdResult ObtainOrderId(const QString& rule, const QDateTime& now)
{
    if (rule == QLatin1String("%data%"))
        return { true, OrderTimestamp(now), {} };
    if (rule == QLatin1String("%data8%"))
        return { true, OrderHashId(now), {} };
    const QString answerFile = AppPath(QStringLiteral("last.oid"), FileUse::Write);
    if (!QuietGetHTTP(rule, answerFile, kMaxAnswerBytes))
        return { false, {}, QStringLiteral("Błąd komunikacji z serwerem !") };
    QFile file(answerFile);
    const std::optional<QString> id
        = file.open(QIODevice::ReadOnly) ? ParseOrderIdAnswer(file.readAll()) : std::nullopt;
    if (!id)
        return { false, {}, QStringLiteral("Serwer zwrócił nieprawidłowe dane !") };
    return { true, *id, {} };
}
