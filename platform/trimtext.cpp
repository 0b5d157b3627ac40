#include "platform/trimtext.h"

namespace {

bool IsTrimmed(QChar c)
{
    return c.unicode() <= u' ';
}

} // namespace

QString TrimText(const QString& text)
{
    qsizetype begin = 0, end = text.size();
    while (begin < end && IsTrimmed(text[begin]))
        ++begin;
    while (end > begin && IsTrimmed(text[end - 1]))
        --end;
    return text.mid(begin, end - begin);
}
