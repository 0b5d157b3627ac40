#include "project/umain.h"

#include "app/lifecycle.h"
#include "core/ulog.h"
#include "platform/process.h"
#include "ui/image.h"

#include <QAction>
#include <QCloseEvent>
#include <QToolBar>

Tfmain::Tfmain(QWidget* parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("fmain"));
    resize(800, 600);

    isplash = new TImage(this);
    isplash->setObjectName(QStringLiteral("isplash"));
    isplash->setGeometry(0, 0, 500, 350);
    isplash->hide();

    tbmain = addToolBar(QStringLiteral("tbmain"));
    tbmain->setObjectName(QStringLiteral("tbmain"));
    tbmain->setMovable(false);
    alog = new QAction(QStringLiteral("LOG"), this);
    alog->setObjectName(QStringLiteral("alog"));
    connect(alog, &QAction::triggered, this, &Tfmain::alogExecute);
    tbmain->addAction(alog);

    TFormSlot<Tfmain>::Register(this);
    FormCreate();
}

Tfmain::~Tfmain()
{
    TFormSlot<Tfmain>::Unregister(this);
}

Tfmain& fmain()
{
    return TFormSlot<Tfmain>::Get();
}

void Tfmain::FormCreate()
{
    alog->setVisible(HasSwitch(QStringLiteral("-log")));
}

void Tfmain::alogExecute()
{
    if (logWindow_)
        logWindow_->setVisible(!logWindow_->isVisible());
}

void Tfmain::closeEvent(QCloseEvent* event)
{
    ShutDown();
    event->accept();
    Q_EMIT Closed();
}
