#include "platform/timeutils.h"

#include <QTime>

int MsSinceMidnight()
{
    return QTime::currentTime().msecsSinceStartOfDay();
}

QString FormatElapsed(int64_t ms)
{
    const auto two = [](int64_t v) { return QStringLiteral("%1").arg(v, 2, 10, QLatin1Char('0')); };
    return two(ms / 3600000) + u':' + two(ms / 60000 % 60) + u':' + two(ms / 1000 % 60);
}

QString FormatElapsedMs(int64_t ms)
{
    return FormatElapsed(ms) + u'.' + QStringLiteral("%1").arg(ms % 1000, 3, 10, QLatin1Char('0'));
}
