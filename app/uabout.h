#pragma once
// Tfabout ("fabout"): "O programie". The program page shows the lab's program name, version
// and company data; the product page Vendaro's own version and credits.
#include "ui/formslot.h"

#include <QDialog>

class QLabel;
class QTimer;
class TGradientButton;
class THotLabel;
class TImage;

class Tfabout : public QDialog {
    Q_OBJECT
public:
    explicit Tfabout(QWidget* parent = nullptr);

    TGradientButton* bprog = nullptr;
    TGradientButton* btech = nullptr;
    TGradientButton* bclose = nullptr;

    QWidget* mpprog = nullptr;
    TImage* ilogo = nullptr;
    QLabel* ltitle = nullptr;
    QLabel* lname = nullptr;
    QLabel* lowner = nullptr;
    QLabel* lperson = nullptr;
    QLabel* lstreet = nullptr;
    QLabel* lcity = nullptr;
    QLabel* lphone = nullptr;
    THotLabel* hlemail = nullptr;
    THotLabel* hlwww = nullptr;
    QLabel* lcopyright = nullptr;

    QWidget* mptech = nullptr;
    QLabel* ltitlevd = nullptr;
    THotLabel* hlvdwww = nullptr;
    THotLabel* hlvdemail = nullptr;
    QLabel* lcopyrightvd = nullptr;
    TImage* iabout1 = nullptr;
    TImage* iabout2 = nullptr;
    QTimer* Timer1 = nullptr;

    void bprogClick();
    void btechClick();
    void hlemailClick();
    void hlwwwClick();
    void Timer1Timer();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void BuildProgramPage();
    void BuildProductPage();
    TFormSlotEntry<Tfabout> slot_ { this };
};

// The program's about window (the one start-up created, or one made on first use).
inline Tfabout& fabout()
{
    return TFormSlot<Tfabout>::Get();
}
