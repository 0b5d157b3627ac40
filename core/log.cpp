#include "core/log.h"

#include "platform/appdir.h"
#include "platform/cp1250.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QThread>

namespace {

bool gDontSend = false;

QString SaveLog(const QString& word)
{
    const QString name = word + QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH-mm-ss")) + ".txt";
    const QString path = AppPath(name, FileUse::Write);
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        const TLogStore& store = LogStore();
        for (int i = 0; i < store.Lines().size(); ++i) {
            const QByteArray line = ToCp1250(LogLevelPrefix(store.Levels().Get(i)) + ": " + store.Lines()[i]) + "\r\n";
            if (file.write(line) != line.size())
                break;
        }
    }
    return path;
}

} // namespace

void TLogStore::Append(const QString& message, int level)
{
    levels_.Add(level);
    lines_.append(message);
    if (listener_)
        listener_();
}

void TLogStore::Clear()
{
    lines_.clear();
    levels_.Clear();
}

TLogStore& LogStore()
{
    static TLogStore store;
    return store;
}

void Log(const QString& message, int level)
{
    QCoreApplication* application = QCoreApplication::instance();
    if (application && QThread::currentThread() != application->thread()) {
        QMetaObject::invokeMethod(
            application, [message, level] { LogStore().Append(message, level); }, Qt::QueuedConnection);
        return;
    }
    LogStore().Append(message, level);
}

QString LogLevelPrefix(int level)
{
    switch (level) {
    case 1:
        return QStringLiteral("[i]");
    case 2:
        return QStringLiteral("[w]");
    case 3:
        return QStringLiteral("[!]");
    default:
        return QStringLiteral("[ ]");
    }
}

QString SaveErrorLog()
{
    return SaveLog(QStringLiteral("error_log"));
}

QString SaveSessionLog()
{
    return SaveLog(QStringLiteral("session_log"));
}

bool DontSend()
{
    return gDontSend;
}

void SetDontSend(bool value)
{
    gDontSend = value;
}
