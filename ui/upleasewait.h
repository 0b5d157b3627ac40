#pragma once
// Tfwait ("fwait"): the small borderless window reading "Proszę czekać ..." with an
// optional progress bar, shown while a long loop of another window runs. While it shows,
// every other visible top-level window except the owner is disabled; closing it enables
// exactly those again. The caller closes it on every exit from its loop, errors included.
//
//     fwait().ShowWait(this, true);
//     for (...) { ...; fwait().pb->SetPosition(MulDiv(done, 100, total)); }
//     fwait().close();
#include "ui/formslot.h"
#include "ui/windowdisabler.h"

#include <QPointer>
#include <QWidget>

class QLabel;
class TColorFrame;
class TGradientProgressBar;

class Tfwait : public QWidget {
    Q_OBJECT
public:
    explicit Tfwait(QWidget* parent = nullptr);

    // Shows the window in front of everything (not modal), centred on the owner's window,
    // with the bar at 0 and shown or hidden, then lets pending events run once.
    void ShowWait(QWidget* owner, bool showBar);
    // Shows or hides the bar; the label takes the room the bar leaves.
    void SetBarVisible(bool showBar);

    TColorFrame* ColorFrame1 = nullptr;
    QLabel* Label1 = nullptr;
    TGradientProgressBar* pb = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    QPointer<QWidget> owner_;
    TWindowDisabler disabledWindows_;
    TFormSlotEntry<Tfwait> slot_ { this };
};

// The program's wait window (the one start-up created, or one made on first use).
inline Tfwait& fwait()
{
    return TFormSlot<Tfwait>::Get();
}
