#pragma once
// Tfgetshop ("fgetshop"): the pickup points of the shop list, "Wybierz punkt usługowy", with
// an incremental search and the details of the selected shop. PickShop lets the customer
// choose one; ShowActiveShops shows the same list for reading only.
#include "ui/formslot.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class TGradientButton;
class THotLabel;
class TPageListBox;
class TStatusLabel;

class Tfgetshop : public QDialog {
    Q_OBJECT
public:
    explicit Tfgetshop(QWidget* parent = nullptr);

    // Shows the list with the shop of preselectId selected (none for 0 or an unknown ID);
    // returns the ID accepted with "AKCEPTUJ", 0 when the window was closed otherwise.
    int PickShop(int preselectId);
    // The list with the lab itself selected, without "AKCEPTUJ".
    void ShowActiveShops();

    QLabel* Label1 = nullptr; // "szukaj (...):"
    QLineEdit* esearch = nullptr;
    TPageListBox* lbshops = nullptr;
    TStatusLabel* slname = nullptr;
    TStatusLabel* sladres = nullptr;
    TStatusLabel* sladres2 = nullptr;
    TStatusLabel* slphone = nullptr;
    THotLabel* hlemail = nullptr;
    TGradientButton* bok = nullptr; // "AKCEPTUJ"
    TGradientButton* bcancel = nullptr; // "ANULUJ"

    // The index of the search's last match, -1 when there is none.
    int searchTag = -1;
    // The shop ID chosen with "AKCEPTUJ", 0 otherwise.
    int tag = 0;

    void esearchChange();
    void bokClick();
    void hlemailClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void ShowDetails();

    TFormSlotEntry<Tfgetshop> slot_ { this };
};

inline Tfgetshop& fgetshop()
{
    return TFormSlot<Tfgetshop>::Get();
}
