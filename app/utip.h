#pragma once
// Tftip ("ftip"): the tip of the day, one tip at a time from tips.ini. Every showing
// advances to the next tip; "Pokazuj przy starcie" is the user's fShowTip.
#include "ui/formslot.h"

#include <QDialog>

class QLabel;
class TGradientButton;
class TImage;
class TNiceCheckBox;

class Tftip : public QDialog {
    Q_OBJECT
public:
    explicit Tftip(QWidget* parent = nullptr);

    TImage* iowl = nullptr;
    QLabel* ltip = nullptr;
    TNiceCheckBox* cbshow = nullptr;
    TGradientButton* bprev = nullptr;
    TGradientButton* bnext = nullptr;
    TGradientButton* bclose = nullptr;

    void bprevClick();
    void bnextClick();

protected:
    void showEvent(QShowEvent* event) override;
    void done(int result) override;

private:
    void ShowTip(int step);
    TFormSlotEntry<Tftip> slot_ { this };
};

// The program's tip window (the one start-up created, or one made on first use).
inline Tftip& ftip()
{
    return TFormSlot<Tftip>::Get();
}
