#include "app/uabout.h"

#include "core/coreobjects.h"
#include "lab/vdengine.h"
#include "platform/appdir.h"
#include "platform/process.h"
#include "skin/syscolors.h"
#include "ui/gradientbutton.h"
#include "ui/hotlabel.h"
#include "ui/image.h"
#include "ui/keyboardwindow.h"
#include "ui/openlink.h"
#include "ui/pictures.h"
#include "ui/widgetcolors.h"
#include "ui/windowparts.h"

#include <QLabel>
#include <QTimer>

namespace {

const QString kMakerWww = QStringLiteral("https://www.vendaro.example");
const QString kMakerEmail = QStringLiteral("kontakt@vendaro.example");

QLabel* MakeLabel(QWidget* parent, const char* name, const QRect& geometry)
{
    auto* label = MakeNamed<QLabel>(parent, name, geometry);
    label->setTextFormat(Qt::PlainText);
    return label;
}

// A title line on the active-caption colour.
QLabel* MakeTitle(QWidget* parent, const char* name, const QRect& geometry)
{
    QLabel* title = MakeLabel(parent, name, geometry);
    SetBackgroundColor(title, SysColor(TSysColor::ActiveCaption));
    SetTextColor(title, Qt::white);
    QFont font = title->font();
    font.setBold(true);
    title->setFont(font);
    title->setIndent(6);
    return title;
}

// A word-wrapped notice on the highlight colour.
QLabel* MakeNotice(QWidget* parent, const char* name, const QRect& geometry, const QString& text)
{
    QLabel* notice = MakeLabel(parent, name, geometry);
    notice->setWordWrap(true);
    notice->setMargin(6);
    SetBackgroundColor(notice, SysColor(TSysColor::Highlight));
    SetTextColor(notice, SysColor(TSysColor::HighlightText));
    notice->setText(text);
    return notice;
}

QString VersionText()
{
    return VersionString(ExecutablePath(), QString());
}

} // namespace

Tfabout::Tfabout(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("fabout"));
    setWindowTitle(QStringLiteral("O programie"));
    setFixedSize(523, 358);

    bprog = MakeTextButton(this, "bprog", QStringLiteral("Vendaro"), { 8, 4, 180, 24 });
    btech = MakeTextButton(this, "btech", QStringLiteral("technologia/prawa autorskie ..."), { 192, 4, 200, 24 });
    bclose = MakeTextButton(this, "bclose", QStringLiteral("zamknij"), { 440, 4, 75, 24 });
    connect(bprog, &TGradientButton::OnClick, this, &Tfabout::bprogClick);
    connect(btech, &TGradientButton::OnClick, this, &Tfabout::btechClick);
    connect(bclose, &TGradientButton::OnClick, this, &QDialog::accept);

    BuildProgramPage();
    BuildProductPage();

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(4000);
    connect(Timer1, &QTimer::timeout, this, &Tfabout::Timer1Timer);
    SetDefaultButtons(this, { bclose });
    UseFromKeyboard(this, bclose);
}

void Tfabout::BuildProgramPage()
{
    mpprog = MakeNamed<QWidget>(this, "mpprog", QRect(8, 32, 507, 318));
    ilogo = MakeNamed<TImage>(mpprog, "ilogo", QRect(0, 0, 200, 150));
    ilogo->SetCenter(true);
    ltitle = MakeTitle(mpprog, "ltitle", { 208, 0, 299, 22 });
    const char* names[] = { "lname", "lowner", "lperson", "lstreet", "lcity", "lphone" };
    QLabel** lines[] = { &lname, &lowner, &lperson, &lstreet, &lcity, &lphone };
    for (int i = 0; i < 6; ++i)
        *lines[i] = MakeLabel(mpprog, names[i], { 208, 30 + 18 * i, 299, 16 });
    hlemail = MakeLinkLabel(mpprog, "hlemail", { 208, 144, 299, 16 });
    hlwww = MakeLinkLabel(mpprog, "hlwww", { 208, 162, 299, 16 });
    connect(hlemail, &THotLabel::OnClick, this, &Tfabout::hlemailClick);
    connect(hlwww, &THotLabel::OnClick, this, &Tfabout::hlwwwClick);
    lcopyright = MakeNotice(mpprog, "lcopyright", { 0, 196, 507, 110 },
        QStringLiteral("Ta kopia programu została przygotowana dla zakładu fotograficznego "
                       "wymienionego powyżej i służy do składania zamówień w tym zakładzie. "
                       "Zamówienia, ceny i terminy realizacji ustala zakład. Kopiowanie i "
                       "rozpowszechnianie programu bez zgody zakładu jest zabronione."));
}

void Tfabout::BuildProductPage()
{
    mptech = MakeNamed<QWidget>(this, "mptech", QRect(8, 32, 507, 318));
    ltitlevd = MakeTitle(mptech, "ltitlevd", { 0, 0, 507, 22 });
    const QString lines[] = {
        QStringLiteral("Vendaro - zamawianie odbitek fotograficznych przez internet."),
        QStringLiteral("Każdy zakład otrzymuje własną, skonfigurowaną kopię programu."),
        QStringLiteral("Technologia i prawa autorskie: zespół Vendaro."),
    };
    for (int i = 0; i < 3; ++i) {
        QLabel* line = MakeLabel(mptech, "lvdinfo", { 0, 30 + 36 * i, 344, 34 });
        line->setWordWrap(true);
        line->setText(lines[i]);
    }
    hlvdwww = MakeLinkLabel(mptech, "hlvdwww", { 0, 140, 340, 16 });
    hlvdwww->setText(kMakerWww);
    hlvdemail = MakeLinkLabel(mptech, "hlvdemail", { 0, 160, 340, 16 });
    hlvdemail->setText(kMakerEmail);
    connect(hlvdwww, &THotLabel::OnClick, this, [] { OpenLink(kMakerWww); });
    connect(hlvdemail, &THotLabel::OnClick, this, [] { OpenLink("mailto:" + kMakerEmail); });
    lcopyrightvd = MakeNotice(mptech, "lcopyrightvd", { 0, 196, 507, 110 },
        QStringLiteral("Vendaro korzysta z bibliotek: Qt 6 (LGPL 3), POCO C++ Libraries (Boost "
                       "Software License), libjpeg-turbo (licencje IJG i BSD), ImageMagick "
                       "(licencja ImageMagick) oraz libzip (licencja BSD). Dziękujemy ich "
                       "autorom."));
    iabout1 = MakeNamed<TImage>(mptech, "iabout1", QRect(352, 34, 150, 120));
    iabout1->SetPicture(ProgramPicture(QStringLiteral("about1")));
    iabout2 = MakeNamed<TImage>(mptech, "iabout2", QRect(352, 34, 150, 120));
    iabout2->SetPicture(ProgramPicture(QStringLiteral("about2")));
    iabout2->hide();
}

void Tfabout::showEvent(QShowEvent* event)
{
    bprogClick();
    ShowSplashPicture(ilogo);
    const TEngine* engine = Core().engine;
    const QString progname = engine ? engine->progname : QStringLiteral("Vendaro");
    bprog->SetCaption(progname);
    ltitle->setText(progname + " wer " + VersionText());
    ltitlevd->setText("Vendaro wer " + VersionText());
    if (engine)
        ShowLabContacts({ lname, lowner, lperson, lstreet, lcity, lphone, hlemail, hlwww }, *engine);
    Timer1->start();
    QDialog::showEvent(event);
}

void Tfabout::hideEvent(QHideEvent* event)
{
    Timer1->stop();
    QDialog::hideEvent(event);
}

void Tfabout::bprogClick()
{
    mpprog->show();
    mptech->hide();
    bprog->SetSelected(true);
    btech->SetSelected(false);
}

void Tfabout::btechClick()
{
    mptech->show();
    mpprog->hide();
    btech->SetSelected(true);
    bprog->SetSelected(false);
}

void Tfabout::hlemailClick()
{
    if (const TEngine* engine = Core().engine)
        OpenLink("mailto:" + engine->email);
}

void Tfabout::hlwwwClick()
{
    if (const TEngine* engine = Core().engine)
        OpenLink(engine->www);
}

void Tfabout::Timer1Timer()
{
    const bool first = !iabout1->isHidden();
    iabout1->setVisible(!first);
    iabout2->setVisible(first);
}
