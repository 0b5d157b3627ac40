// Vendaro: the program entry.
#include "app/program.h"
#include "app/qttranslations.h"
#include "platform/process.h"
#include "ui/appevents.h"

#include <QCoreApplication>
#include <QGuiApplication>

int main(int argc, char** argv)
{
    // The news window's browser shares the windows' GL contexts.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    TApplication app(argc, argv);
    // The desktop entry the windows belong to (their icon, and the window's identity on Wayland).
    QGuiApplication::setDesktopFileName(QStringLiteral("vendaro"));
    const auto qtTexts = InstallQtTranslations();
    SetProgramArguments(QCoreApplication::arguments());
    return RunGuarded(&RunProgram);
}
