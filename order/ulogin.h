#pragma once
// Tflogin ("flogin"): the lab's login, "Zaloguj". The customer's user name and password go to
// the lab's login script (the password only as its MD5); the answer confirms the login and
// brings the customer's data. "Loguj automatycznie" remembers both in mylogin.dat, which
// fills the edits at the next showing.
#include "order/loginanswer.h"
#include "ui/formslot.h"

#include <QDialog>

#include <optional>

class QLabel;
class QLineEdit;
class TColorFrame;
class TGradientButton;
class THotLabel;
class TImage;
class TNiceCheckBox;

class Tflogin : public QDialog {
    Q_OBJECT
public:
    explicit Tflogin(QWidget* parent = nullptr);

    // Shows the window modally; the user name and the answer when a login succeeded, nothing
    // when the window was closed otherwise.
    std::optional<TLogin> Login();
    // Empties the user name: a lab without a login script sends orders with an empty login.
    void ForgetUser();

    TColorFrame* ColorFrame1 = nullptr; // "Serwer wymaga logowania"
    TImage* ilogin = nullptr;
    QLabel* Label1 = nullptr; // "Identyfikator:"
    QLabel* Label2 = nullptr; // "Hasło:"
    QLineEdit* elogin = nullptr;
    QLineEdit* epass = nullptr;
    TNiceCheckBox* cbautologin = nullptr;
    THotLabel* hlwww = nullptr;
    THotLabel* hlregister = nullptr;
    TGradientButton* GradientButton1 = nullptr; // "zaloguj"
    TGradientButton* GradientButton2 = nullptr; // "anuluj"

    // The values of the last answer; name ... company stay from an earlier login when a later
    // answer does not name them.
    TLoginAnswer answer;

    void GradientButton1Click();
    void hlwwwClick();
    void hlregisterClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void LoadAutologin();
    void SaveAutologin();

    TFormSlotEntry<Tflogin> slot_ { this };
};

inline Tflogin& flogin()
{
    return TFormSlot<Tflogin>::Get();
}
