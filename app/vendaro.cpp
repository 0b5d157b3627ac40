// Vendaro: the program entry.
#include "app/program.h"
#include "core/appevents.h"
#include "platform/process.h"

#include <QtGlobal>

#include <unistd.h>

int main(int argc, char** argv)
{
    // The news window's browser shares the windows' GL contexts; as root its sandbox cannot
    // start and must be turned off.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    if (::geteuid() == 0 && qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    TApplication app(argc, argv);
    SetProgramArguments(QCoreApplication::arguments());
    return RunGuarded(&RunProgram);
}
