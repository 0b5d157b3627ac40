#include "account/uvirtual.h"

#include "account/accountmanifest.h"
#include "account/virtualaccount.h"
#include "core/core.h"
#include "core/coreobjects.h"
#include "core/log.h"
#include "platform/files.h"
#include "ui/designfonts.h"
#include "ui/gradientbutton.h"
#include "ui/keyboardwindow.h"
#include "ui/umydialog.h"
#include "ui/windowparts.h"

#include <QLabel>
#include <QLineEdit>

namespace {

QLabel* MakeWrappedLabel(QWidget* parent, const char* name, const QString& text, const QRect& geometry)
{
    auto* label = MakeNamedText<QLabel>(parent, name, text, geometry);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

} // namespace

Tfvirtual::Tfvirtual(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("fvirtual"));
    setWindowTitle(QStringLiteral("Konto Wirtualne - logowanie"));
    setFont(DesignFont(QStringLiteral("Tahoma"), 8));
    setFixedSize(457, 254);
    setModal(true);

    linfo = MakeWrappedLabel(this, "linfo", QString(), QRect(8, 8, 441, 70));
    accountIdPrompt = MakeWrappedLabel(this, "Label1",
        QStringLiteral("Podaj ID konta wirtualnego otrzymanego od zakładu foto."), QRect(8, 88, 441, 16));
    eid = MakeNamed<QLineEdit>(this, "eid", QRect(8, 106, 200, 21));
    passwordPrompt = MakeWrappedLabel(this, "Label2",
        QStringLiteral("Jeśli otrzymałeś hasło do konta, wprowadź je tutaj, w przeciwnym razie pozostaw pole puste."),
        QRect(8, 138, 441, 30));
    epass = MakeNamed<QLineEdit>(this, "epass", QRect(8, 170, 200, 21));
    MakePasswordEdit(epass);
    llogin = MakeNamedText<QLabel>(this, "llogin", QStringLiteral("Logowanie ..."), QRect(8, 224, 200, 17));
    llogin->hide();

    enterButton = MakeTextButton(this, "GradientButton1", QStringLiteral("wejdź"), QRect(287, 220, 78, 25));
    cancelButton = MakeTextButton(this, "GradientButton2", QStringLiteral("anuluj"), QRect(371, 220, 78, 25));
    connect(enterButton, &TGradientButton::OnClick, this, &Tfvirtual::enterButtonClick);
    connect(cancelButton, &TGradientButton::OnClick, this, &Tfvirtual::reject);
    enterButton->setDefault(true); // Enter in either edit logs in
    UseFromKeyboard(this, eid);
}

void Tfvirtual::showEvent(QShowEvent* event)
{
    CentreOnScreen(this);
    linfo->setText(QStringLiteral(
        "Konto wirtualne pozwala na przekaz dowolnych plików pomiędzy zakładem a klientem. Aby otrzymać dostęp do "
        "konta wirtualnego skontaktuj się z firmą obsługującą tę kopię programu - informacje te dostępne są na "
        "pasku narzędzi pod przyciskiem \"Dostawca / zlecenie ...\" lub w oknie \"o programie\"."));
    eid->setText(Core().config ? Core().config->id : QString());
    epass->clear();
    QDialog::showEvent(event);
    eid->setFocus();
}

void Tfvirtual::hideEvent(QHideEvent* event)
{
    DeleteFileForced(LocalManifestPath());
    QDialog::hideEvent(event);
}

void Tfvirtual::reject()
{
    if (llogin->isHidden())
        QDialog::reject();
}

void Tfvirtual::enterButtonClick()
{
    if (!llogin->isHidden())
        return; // a login is running: its FTP calls let events through
    eid->setText(NormalizeAccountId(eid->text()));
    const QString accountId = eid->text();
    if (!IsValidAccountId(accountId)) {
        fdialog().Error(QStringLiteral("Prawidłowy numer ID powinien mieć 8 znaków !"));
        return;
    }
    if (Core().config)
        Core().config->id = accountId;
    llogin->show(); // painted while the login's FTP steps wait
    Log("Opening virtual account " + accountId + " ...");
    const TAccountLogin login = LogInToAccount(ftp, accountId, epass->text());
    llogin->hide();
    if (!login.ok) {
        fdialog().Error(login.message);
        return;
    }
    Log("Virtual account " + accountId + " opened.");
    if (browser_)
        browser_(login.facts, login.description);
    accept();
}
