// Takes or probes the single-instance lock: prints "running" or "alone"; with "hold" it then
// keeps the lock until its standard input closes.
#include "platform/process.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 2)
        return 2;
    std::puts(AnotherInstanceRunning(args[1]) ? "running" : "alone");
    std::fflush(stdout);
    if (args.size() > 2 && args[2] == QLatin1String("hold"))
        while (std::getchar() != EOF) { }
    return 0;
}
