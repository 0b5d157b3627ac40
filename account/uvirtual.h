#pragma once
// Tfvirtual ("fvirtual"): "Konto Wirtualne - logowanie". The customer types the ID of a
// virtual account (and its password, when it has one); "wejdź" reads the account's manifest
// from the lab's FTP server, checks the password and opens the account browser.
//
// The window calls no other window: the browser comes as a link that the program's window
// list gives it.
#include "account/accountfacts.h"
#include "net/ftpclient.h"
#include "ui/formslot.h"

#include <QDialog>

#include <functional>

class QLabel;
class QLineEdit;
class TGradientButton;

class Tfvirtual : public QDialog {
    Q_OBJECT
public:
    explicit Tfvirtual(QWidget* parent = nullptr);

    // The account browser, shown modally for the account that was opened.
    using TBrowserLink = std::function<void(const TAccountFacts& facts, const QString& description)>;
    void SetBrowserLink(TBrowserLink link) { browser_ = std::move(link); }

    QLabel* linfo = nullptr;
    QLabel* accountIdPrompt = nullptr; // "Podaj ID konta wirtualnego ..."
    QLineEdit* eid = nullptr;
    QLabel* passwordPrompt = nullptr; // "Jeśli otrzymałeś hasło do konta ..."
    QLineEdit* epass = nullptr;
    QLabel* llogin = nullptr; // "Logowanie ...", only while logging in
    TGradientButton* enterButton = nullptr; // "wejdź"
    TGradientButton* cancelButton = nullptr; // "anuluj"

    // The lab's FTP server for login attempts; connected only while one runs.
    TFtpClient ftp;

    void enterButtonClick();

public Q_SLOTS:
    // Escape, "anuluj" and the close box; refused while a login runs.
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    TBrowserLink browser_;
    TFormSlotEntry<Tfvirtual> slot_ { this };
};

inline Tfvirtual& fvirtual()
{
    return TFormSlot<Tfvirtual>::Get();
}
