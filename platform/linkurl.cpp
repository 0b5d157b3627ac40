#include "platform/linkurl.h"

QUrl LinkUrl(const QString& address)
{
    const QString typed = address.trimmed();
    if (typed.startsWith(QLatin1String("mailto:"), Qt::CaseInsensitive))
        return QUrl(typed, QUrl::TolerantMode);
    return QUrl::fromUserInput(typed);
}

QString LinkCopyText(const QUrl& url)
{
    if (url.scheme() == QLatin1String("mailto"))
        return url.path();
    return url.toString();
}
