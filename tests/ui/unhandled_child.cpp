// A tiny program that lets an exception escape, so a test can watch the unhandled-exception
// path end a real process. The first argument says where the exception comes from.
#include "core/blowfish.h"
#include "core/log.h"
#include "ui/appevents.h"
#include "ui/ulog.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QTimer>

#include <cstdio>
#include <memory>

int main(int argc, char** argv)
{
    TApplication app(argc, argv);
    const QString mode = app.arguments().value(1);
    Log("child started", 0);
    Tflog flog;
    const int result = RunGuarded([&] {
        if (mode == QLatin1String("startup"))
            TBlowFish(QByteArrayView("abc"));
        if (mode == QLatin1String("event"))
            QTimer::singleShot(0, [] { throw std::runtime_error("boom in a timer"); });
        if (mode == QLatin1String("foreign"))
            QTimer::singleShot(0, [] { throw 42; });
        if (mode == QLatin1String("logcrash")) {
            flog.Edit1->setText("CRASH");
            QCoreApplication::postEvent(flog.Edit1, new QKeyEvent(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier));
        }
        QTimer::singleShot(0, &app, &QCoreApplication::quit);
        return app.exec();
    });
    std::puts("clean exit"); // never reached when an exception escaped
    return result;
}
