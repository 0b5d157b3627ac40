#include "app/usplash.h"

#include "app/lifecycle.h"
#include "app/startup.h"
#include "core/log.h"
#include "platform/appdir.h"
#include "platform/process.h"
#include "skin/syscolors.h"
#include "ui/appevents.h"
#include "ui/gradientbutton.h"
#include "ui/image.h"
#include "ui/pictures.h"
#include "ui/widgetcolors.h"
#include "ui/windowparts.h"

#include <QCloseEvent>
#include <QEventLoop>
#include <QGuiApplication>
#include <QLabel>
#include <QRandomGenerator>
#include <QScreen>
#include <QTimer>

Tfsplash::Tfsplash(QWidget* parent)
    : QDialog(parent, Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("fsplash"));
    SetBackgroundColor(this, SysColor(TSysColor::BtnFace));
    setFixedSize(545, 409);

    ltitle = MakeNamed<QLabel>(this, "ltitle", QRect(0, 0, 545, 22));
    ltitle->setAlignment(Qt::AlignCenter);
    SetBackgroundColor(ltitle, SysColor(TSysColor::ActiveCaption));
    SetTextColor(ltitle, Qt::white);

    isplash = MakeNamed<TImage>(this, "isplash", QRect(24, 29, 500, 350));
    isplash->SetStretch(true);
    isplash->SetPicture(ProgramPicture(QStringLiteral("splash")));

    linfo = MakeNamedText<QLabel>(this, "linfo", QStringLiteral("Proszę czekać ..."), QRect(24, 384, 420, 18));
    linfo->setTextFormat(Qt::PlainText);

    berror = MakeTextButton(this, "berror", QStringLiteral("zamknij"), QRect(449, 382, 75, 22));
    berror->hide();
    connect(berror, &TGradientButton::OnClick, this, &Tfsplash::berrorClick);

    tstartup = new QTimer(this);
    tstartup->setObjectName(QStringLiteral("tstartup"));
    tstartup->setInterval(1000);
    connect(tstartup, &QTimer::timeout, this, &Tfsplash::tstartupTimer);
}

void Tfsplash::showEvent(QShowEvent* event)
{
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
    tstartup->start();
    Log(QStringLiteral("Starting ..."), 1);
    ltitle->setText(ApplicationTitle() + " wersja: " + VersionString(ExecutablePath(), QString()));
    QDialog::showEvent(event);
}

void Tfsplash::tstartupTimer()
{
    tstartup->stop();
    RunStartupSequence(*this);
}

void Tfsplash::Pause(int steps)
{
    for (int i = 0; i < steps; ++i) {
        QEventLoop pause;
        QTimer::singleShot(50 + QRandomGenerator::global()->bounded(50), &pause, &QEventLoop::quit);
        pause.exec();
    }
}

void Tfsplash::SetStatus(const QString& text)
{
    linfo->setText(text);
    Pause(5);
}

void Tfsplash::AppendStatus(const QString& text)
{
    linfo->setText(linfo->text() + text);
    Pause(2);
}

void Tfsplash::StartupFail(const QString& message)
{
    if (coreReady) {
        Log(QStringLiteral("Deinitializing CORE ..."));
        CoreDeinit();
        coreReady = false;
    }
    SaveErrorLog();
    SetTextColor(linfo, Qt::red);
    linfo->setText(message);
    berror->show();
}

void Tfsplash::Finish()
{
    done(Tag);
}

void Tfsplash::berrorClick()
{
    Finish();
}

void Tfsplash::reject()
{
    if (berror->isVisible())
        Finish();
}

void Tfsplash::closeEvent(QCloseEvent* event)
{
    // Only the start-up ends this window, or "zamknij" once a failure is shown.
    event->ignore();
    if (berror->isVisible())
        Finish();
}
