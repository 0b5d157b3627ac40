#pragma once
// Tfprovider ("fprovider"): "Dostawca", the lab's own data and price rules next to the value
// of the current project. "Aktywni dostawcy" shows the shop list through the link the
// program gives it (the shop choice window's read-only list).
#include "ui/formslot.h"

#include <QDialog>

#include <functional>

class QLabel;
class TGradientButton;
class THotLabel;
class TImage;

class Tfprovider : public QDialog {
    Q_OBJECT
public:
    explicit Tfprovider(QWidget* parent = nullptr);

    // What "Aktywni dostawcy" runs.
    void SetActiveShopsLink(std::function<void()> showActiveShops);

    TImage* ilogo = nullptr;
    QLabel* ltitle = nullptr;
    QLabel* lowner = nullptr;
    QLabel* lperson = nullptr;
    QLabel* lstreet = nullptr;
    QLabel* lcity = nullptr;
    QLabel* lphone = nullptr;
    THotLabel* hlemail = nullptr;
    THotLabel* hlwww = nullptr;
    QLabel* lmainshopi = nullptr;
    QLabel* lprice = nullptr;
    QLabel* lpricedel = nullptr;
    QLabel* lpricedelpre = nullptr;
    QLabel* lminphotos = nullptr;
    QLabel* lpriceopen = nullptr;
    QLabel* lpricemin = nullptr;
    QLabel* lvalue = nullptr;
    TGradientButton* GradientButton1 = nullptr; // "Aktywni dostawcy"
    TGradientButton* GradientButton2 = nullptr; // "Zamknij"

    void hlemailClick();
    void hlwwwClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    std::function<void()> showActiveShops_;
    TFormSlotEntry<Tfprovider> slot_ { this };
};

inline Tfprovider& fprovider()
{
    return TFormSlot<Tfprovider>::Get();
}
