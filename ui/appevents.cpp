#include "ui/appevents.h"

#include "core/unhandled.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QTimer>

#include <cstdio>
#include <cstdlib>

namespace {

QString& TitleStore()
{
    static QString title;
    return title;
}

void ShowFatalMessage(const QString& text)
{
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
        return;
    QMessageBox box(QMessageBox::Critical, ApplicationTitle(), QString(text).replace(u'\r', u'\n'), QMessageBox::Abort);
    box.setTextFormat(Qt::PlainText);
    if (qEnvironmentVariableIsSet("VENDARO_FATAL_BOX_AUTOCLOSE"))
        QTimer::singleShot(0, &box, [&box] { box.button(QMessageBox::Abort)->click(); });
    box.exec();
}

} // namespace

bool TApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        ApplicationEvents1Exception(std::current_exception());
    }
}

void ApplicationEvents1Exception(std::exception_ptr error)
{
    // An exception raised while the fatal message is up has already been recorded.
    static bool handling = false;
    if (handling)
        std::_Exit(EXIT_FAILURE);
    handling = true;
    const QString text = ReportUnhandledException(DescribeException(error));
    std::fprintf(stderr, "%s\n", QString(text).replace(u'\r', u'\n').toUtf8().constData());
    std::fflush(stderr);
    ShowFatalMessage(text);
    std::_Exit(EXIT_FAILURE);
}

int RunGuarded(const std::function<int()>& body)
{
    try {
        return body();
    } catch (...) {
        ApplicationEvents1Exception(std::current_exception());
    }
}

QString ApplicationTitle()
{
    const QString& title = TitleStore();
    return title.isEmpty() ? QCoreApplication::applicationName() : title;
}

void SetApplicationTitle(const QString& title)
{
    TitleStore() = title;
}
