#include "order/ulogin.h"

#include "core/coreobjects.h"
#include "core/log.h"
#include "core/textutils.h"
#include "lab/vdengine.h"
#include "net/quietget.h"
#include "order/autologin.h"
#include "order/privatefile.h"
#include "platform/appdir.h"
#include "ui/colorframe.h"
#include "ui/designfonts.h"
#include "ui/gradientbutton.h"
#include "ui/hotlabel.h"
#include "ui/image.h"
#include "ui/keyboardwindow.h"
#include "ui/nicecheckbox.h"
#include "ui/openlink.h"
#include "ui/pictures.h"
#include "ui/umydialog.h"
#include "ui/unet.h"
#include "ui/windowparts.h"

#include <QLabel>
#include <QLineEdit>

Tflogin::Tflogin(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("flogin"));
    setWindowTitle(QStringLiteral("Zaloguj"));
    setFont(DesignFont(QStringLiteral("Tahoma"), 8));
    setFixedSize(418, 135);
    setModal(true);

    ColorFrame1 = MakeNamed<TColorFrame>(this, "ColorFrame1", QRect(6, 4, 406, 94));
    ColorFrame1->SetCaption(QStringLiteral("Serwer wymaga logowania"));
    ColorFrame1->SetAutoFrameColor(true);
    ilogin = MakeNamed<TImage>(this, "ilogin", QRect(16, 22, 64, 64));
    ilogin->SetCenter(true);
    ilogin->SetPicture(ProgramPicture(QStringLiteral("login")));

    Label1 = MakeNamedText<QLabel>(this, "Label1", QStringLiteral("Identyfikator:"), QRect(96, 24, 90, 18));
    elogin = MakeNamed<QLineEdit>(this, "elogin", QRect(190, 22, 210, 21));
    Label2 = MakeNamedText<QLabel>(this, "Label2", QStringLiteral("Hasło:"), QRect(96, 50, 90, 18));
    epass = MakeNamed<QLineEdit>(this, "epass", QRect(190, 48, 210, 21));
    MakePasswordEdit(epass);
    cbautologin = MakeNamed<TNiceCheckBox>(this, "cbautologin", QRect(190, 74, 210, 18));
    cbautologin->SetCaption(QStringLiteral("Loguj automatycznie"));

    hlwww = MakeLinkLabel(this, "hlwww", QRect(8, 102, 220, 15));
    hlwww->setText(QStringLiteral("zobacz stronę www zakładu"));
    hlregister = MakeLinkLabel(this, "hlregister", QRect(8, 117, 220, 15));
    hlregister->setText(QStringLiteral("Rejestracja nowych użytkowników"));
    connect(hlwww, &THotLabel::OnClick, this, &Tflogin::hlwwwClick);
    connect(hlregister, &THotLabel::OnClick, this, &Tflogin::hlregisterClick);

    GradientButton1 = MakeTextButton(this, "GradientButton1", QStringLiteral("zaloguj"), QRect(250, 104, 78, 25));
    GradientButton2 = MakeTextButton(this, "GradientButton2", QStringLiteral("anuluj"), QRect(334, 104, 78, 25));
    connect(GradientButton1, &TGradientButton::OnClick, this, &Tflogin::GradientButton1Click);
    connect(GradientButton2, &TGradientButton::OnClick, this, &QDialog::reject);
    GradientButton1->setDefault(true); // Enter in either edit logs in
    UseFromKeyboard(this, elogin);
}

std::optional<TLogin> Tflogin::Login()
{
    if (exec() != QDialog::Accepted)
        return std::nullopt;
    return TLogin { TrimText(elogin->text()), answer };
}

void Tflogin::ForgetUser()
{
    elogin->clear();
}

void Tflogin::showEvent(QShowEvent* event)
{
    CentreOnScreen(this);
    LoadAutologin();
    QDialog::showEvent(event);
}

void Tflogin::LoadAutologin()
{
    const std::optional<TAutologin> saved = ReadAutologin();
    if (!saved)
        return;
    elogin->setText(saved->user);
    epass->setText(saved->password);
    cbautologin->SetChecked(true);
}

void Tflogin::SaveAutologin()
{
    if (cbautologin->Checked()) {
        Log(QStringLiteral("Saving autologin data ..."));
        if (!WriteAutologin({ elogin->text(), epass->text() }))
            Log(QStringLiteral("Can't write autologin data !"), 2);
    } else {
        DeleteAutologin();
    }
}

void Tflogin::GradientButton1Click()
{
    elogin->setText(TrimText(elogin->text()));
    epass->setText(TrimText(epass->text()));
    if (elogin->text().isEmpty()) {
        fdialog().Warning(QStringLiteral("Podaj nazwę użytkownika !"));
        return;
    }
    if (epass->text().isEmpty()) {
        fdialog().Warning(QStringLiteral("Podaj hasło !"));
        return;
    }
    SaveAutologin();

    const TEngine* engine = Core().engine;
    const QString url = LoginUrl(engine ? engine->loginscript : QString(), elogin->text(), epass->text());
    Log("Trying to login user \"" + elogin->text() + "\" ...");
    const QString answerFile = AppPath(QStringLiteral("login.net"), FileUse::Write);
    // The answer holds the customer's personal data: the download replaces a file that is
    // already private (the replacement keeps its mode).
    WritePrivateFile(answerFile, [](QIODevice&) { return true; });
    fnet().ShowProgress(this, true, true);
    const bool fetched = QuietGetHTTP(url, answerFile);
    fnet().close();
    if (!fetched) {
        Log(QStringLiteral("http failed."), 3);
        fdialog().Error(QStringLiteral("Błąd połączenia z serwerem, spróbuj ponownie za chwilę"));
        return;
    }
    Log(QStringLiteral("http successfull, parsing data ..."));
    ReadLoginAnswer(answerFile, answer);
    if (answer.loggedIn) {
        accept();
        return;
    }
    fdialog().Error(
        answer.errormsg.isEmpty() ? QStringLiteral("Podane login i hasło nie są prawidłowe !") : answer.errormsg);
}

void Tflogin::hlwwwClick()
{
    if (const TEngine* engine = Core().engine)
        OpenLink(engine->www);
}

void Tflogin::hlregisterClick()
{
    if (const TEngine* engine = Core().engine)
        OpenLink(engine->newuserpage);
}
