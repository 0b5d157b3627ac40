#include "app/utip.h"

#include "app/tipfile.h"
#include "core/core.h"
#include "core/coreobjects.h"
#include "platform/appdir.h"
#include "ui/gradientbutton.h"
#include "ui/image.h"
#include "ui/keyboardwindow.h"
#include "ui/nicecheckbox.h"
#include "ui/pictures.h"
#include "ui/windowparts.h"

#include <QLabel>

namespace {

TGradientButton* MakeButton(QWidget* parent, const char* name, const QString& caption, int left)
{
    return MakeTextButton(parent, name, caption, QRect(left, 162, 75, 25));
}

} // namespace

Tftip::Tftip(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("ftip"));
    setWindowTitle(QStringLiteral("Podpowiedź na dziś :)"));
    setFixedSize(469, 194);

    iowl = MakeNamed<TImage>(this, "iowl", QRect(8, 4, 110, 150));
    iowl->SetPicture(ProgramPicture(QStringLiteral("owl")));
    iowl->SetCenter(true);

    ltip = MakeNamed<QLabel>(this, "ltip", QRect(126, 8, 335, 144));
    ltip->setAlignment(Qt::AlignCenter);
    ltip->setWordWrap(true);
    ltip->setTextFormat(Qt::PlainText);

    cbshow = MakeNamed<TNiceCheckBox>(this, "cbshow", QRect(8, 166, 150, 18));
    cbshow->SetCaption(QStringLiteral("Pokazuj przy starcie"));

    bprev = MakeButton(this, "bprev", QStringLiteral("poprzedni"), 222);
    bnext = MakeButton(this, "bnext", QStringLiteral("następny"), 302);
    bclose = MakeButton(this, "bclose", QStringLiteral("zamknij"), 386);
    connect(bprev, &TGradientButton::OnClick, this, &Tftip::bprevClick);
    connect(bnext, &TGradientButton::OnClick, this, &Tftip::bnextClick);
    connect(bclose, &TGradientButton::OnClick, this, &QDialog::accept);
    SetDefaultButtons(this, { bclose });
    UseFromKeyboard(this, bclose);
}

void Tftip::ShowTip(int step)
{
    ltip->setText(StepTip(AppPath(QStringLiteral("tips.ini"), FileUse::Update), step));
}

void Tftip::bprevClick()
{
    ShowTip(-1);
}

void Tftip::bnextClick()
{
    ShowTip(+1);
}

void Tftip::showEvent(QShowEvent* event)
{
    if (const TConfig* config = Core().config)
        cbshow->SetChecked(config->fShowTip);
    ShowTip(+1);
    QDialog::showEvent(event);
}

void Tftip::done(int result)
{
    if (TConfig* config = Core().config)
        config->fShowTip = cbshow->Checked();
    QDialog::done(result);
}
