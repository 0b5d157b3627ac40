#include "tests/support/programrun.h"

#include "app/program.h"
#include "app/unewsreader.h"
#include "app/utip.h"
#include "platform/appdir.h"
#include "platform/process.h"
#include "project/umain.h"
#include "tests/support/demokit.h"
#include "ui/upleasewait.h"

#include <QApplication>
#include <QTimer>

bool RunProgramIn(TKit& kit, const std::function<void(Tfmain&)>& work)
{
    SetAppDir(kit.Program().chopped(1));
    SetProgramArguments({ QStringLiteral("vendaro") });
    bool worked = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (!window->isVisible())
                continue;
            if (auto* tip = qobject_cast<Tftip*>(window)) {
                tip->accept();
            } else if (auto* news = qobject_cast<Tfnews*>(window)) {
                news->close();
            } else if (auto* main = qobject_cast<Tfmain*>(window);
                       main && !worked && !QApplication::activeModalWidget() && !fwait().isVisible()) {
                worked = true;
                poll.stop();
                work(*main);
            }
        }
    });
    poll.start(20);
    RunProgram();
    poll.stop();
    SetProgramArguments(QApplication::arguments());
    SetAppDir(QString());
    return worked;
}
