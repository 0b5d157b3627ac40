#pragma once
// Tfnet ("fnet"): the small borderless window "Łączenie z internetem ..." shown while the
// program talks to the lab's server. Its bar can follow the HTTP client's work; while it
// shows, every other window except its owner is disabled. Escape cancels the transfer.
//
//     fnet().ShowProgress(this, true, true);
//     const bool ok = QuietGetHTTP(url, file);
//     fnet().close();
#include "ui/formslot.h"
#include "ui/windowdisabler.h"

#include <QPointer>
#include <QWidget>

class TColorFrame;
class TGradientProgressBar;
class TImage;

class Tfnet : public QWidget {
    Q_OBJECT
public:
    explicit Tfnet(QWidget* parent = nullptr);
    ~Tfnet() override;

    // Shows the window in front (not modal), with the bar at 0 and visible when showBar;
    // followWork lets the HTTP client's work events move the bar. Pending events run once
    // so that the window paints before the caller goes on.
    void ShowProgress(QWidget* owner, bool showBar, bool followWork);

    // Work events of the HTTP client (acted on only while followWork is on).
    void httpWorkBegin(qint64 total);
    void httpWork(qint64 count);
    void httpWorkEnd();

    TColorFrame* frame = nullptr;
    TImage* inet = nullptr;
    TGradientProgressBar* pb = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QPointer<QWidget> owner_;
    TWindowDisabler disabledWindows_;
    bool followWork_ = false;
    TFormSlotEntry<Tfnet> slot_ { this };
};

// The program's fetch window (the one start-up created, or one made on first use).
inline Tfnet& fnet()
{
    return TFormSlot<Tfnet>::Get();
}
