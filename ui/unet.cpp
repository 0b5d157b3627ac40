#include "ui/unet.h"

#include "net/quietget.h"
#include "skin/syscolors.h"
#include "ui/colorframe.h"
#include "ui/gradientprogressbar.h"
#include "ui/image.h"
#include "ui/pictures.h"
#include "ui/widgetcolors.h"
#include "ui/windowparts.h"

#include <QApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>

#include <algorithm>
#include <limits>

namespace {

int BarValue(qint64 bytes)
{
    return int(std::clamp<qint64>(bytes, 0, std::numeric_limits<int>::max()));
}

} // namespace

Tfnet::Tfnet(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("fnet"));
    setWindowTitle(QStringLiteral("Łączenie z internetem ..."));
    SetBackgroundColor(this, SysColor(TSysColor::BtnFace));
    setFixedSize(390, 104);

    frame = MakeNamed<TColorFrame>(this, "frame", QRect(0, 0, 390, 104));
    frame->SetAutoFrameColor(true);

    inet = MakeNamed<TImage>(this, "inet", QRect(12, 14, 75, 75));
    inet->SetPicture(ProgramPicture(QStringLiteral("inet")));

    pb = MakeNamed<TGradientProgressBar>(this, "pb", QRect(98, 40, 281, 25));
    pb->SetShowCaption(true);
    pb->SetCaption(QStringLiteral("Proszę czekać, komunikacja z serwerem ..."));

    HttpClient().SetWorkListener({ [this](qint64 total) { httpWorkBegin(total); },
        [this](qint64 count) { httpWork(count); }, [this] { httpWorkEnd(); } });
}

Tfnet::~Tfnet()
{
    HttpClient().SetWorkListener({});
}

void Tfnet::ShowProgress(QWidget* owner, bool showBar, bool followWork)
{
    owner_ = owner;
    pb->setVisible(showBar);
    if (showBar)
        pb->SetPosition(0);
    followWork_ = showBar && followWork;
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
    show();
    raise();
    QApplication::processEvents();
}

void Tfnet::httpWorkBegin(qint64 total)
{
    if (followWork_)
        pb->SetMax(BarValue(total));
}

void Tfnet::httpWork(qint64 count)
{
    if (followWork_)
        pb->SetPosition(BarValue(count));
}

void Tfnet::httpWorkEnd()
{
    if (followWork_)
        pb->SetMax(100);
}

void Tfnet::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    disabledWindows_.DisableOthers(this, owner_);
}

void Tfnet::hideEvent(QHideEvent* event)
{
    disabledWindows_.EnableAgain();
    QWidget::hideEvent(event);
}

void Tfnet::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        HttpClient().Abort();
        return;
    }
    QWidget::keyPressEvent(event);
}
