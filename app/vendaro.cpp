// Vendaro: the program entry.
#include "app/program.h"
#include "platform/process.h"
#include "ui/appevents.h"
#include "ui/qttranslations.h"

#include <QCoreApplication>

int main(int argc, char** argv)
{
    // The news window's browser shares the windows' GL contexts.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    TApplication app(argc, argv);
    const auto qtTexts = InstallQtTranslations();
    SetProgramArguments(QCoreApplication::arguments());
    return RunGuarded(&RunProgram);
}
