#include "ui/upleasewait.h"

#include "skin/syscolors.h"
#include "ui/colorframe.h"
#include "ui/designfonts.h"
#include "ui/gradientprogressbar.h"
#include "ui/widgetcolors.h"
#include "ui/windowparts.h"

#include <QApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>

Tfwait::Tfwait(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("fwait"));
    setFont(DesignFont(QStringLiteral("MS Sans Serif"), 8));
    SetBackgroundColor(this, SysColor(TSysColor::BtnFace));
    setFixedSize(374, 93);

    ColorFrame1 = MakeNamed<TColorFrame>(this, "ColorFrame1", QRect(4, 4, 369, 89));
    ColorFrame1->SetAutoFrameColor(true);

    Label1 = MakeNamedText<QLabel>(this, "Label1", QStringLiteral("Proszę czekać ..."), QRect(8, 8, 361, 81));
    Label1->setAlignment(Qt::AlignCenter);

    pb = MakeNamed<TGradientProgressBar>(this, "pb", QRect(16, 64, 345, 18));
    pb->SetShowCaption(true);
    pb->SetSnapCaption(true);
    pb->SetAutoCaption(true);
}

void Tfwait::SetBarVisible(bool showBar)
{
    pb->setVisible(showBar);
    Label1->resize(Label1->width(), ColorFrame1->height() - 8 - (showBar ? pb->height() : 0));
}

void Tfwait::ShowWait(QWidget* owner, bool showBar)
{
    owner_ = owner;
    pb->SetPosition(0);
    SetBarVisible(showBar);

    const QWidget* around = owner ? owner->window() : nullptr;
    QRect area = around ? around->frameGeometry() : QRect();
    if (!around || !around->isVisible()) {
        if (const QScreen* screen = QGuiApplication::primaryScreen())
            area = screen->geometry();
    }
    move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);

    show();
    raise();
    QApplication::processEvents();
}

void Tfwait::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    disabledWindows_.DisableOthers(this, owner_);
}

void Tfwait::hideEvent(QHideEvent* event)
{
    disabledWindows_.EnableAgain();
    QWidget::hideEvent(event);
}
