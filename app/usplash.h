#pragma once
// Tfsplash ("fsplash"): the borderless start-up window. Its one timer tick runs the whole
// start-up; a failure stays on it with its message until "zamknij" is pressed.
#include "ui/formslot.h"

#include <QDialog>

class QLabel;
class QTimer;
class TGradientButton;
class TImage;

class Tfsplash : public QDialog {
    Q_OBJECT
public:
    explicit Tfsplash(QWidget* parent = nullptr);

    TImage* isplash = nullptr;
    QLabel* ltitle = nullptr;
    QLabel* linfo = nullptr;
    TGradientButton* berror = nullptr;
    QTimer* tstartup = nullptr;

    int Tag = 0; // 1 when the start-up completed
    bool coreReady = false; // the core objects exist and a failure must tear them down

    // Set or extend the status line, then pause briefly (events keep running) so the user
    // can read it.
    void SetStatus(const QString& text);
    void AppendStatus(const QString& text);
    // Tears the core down when it is built, saves the error log and shows message in red
    // with the "zamknij" button.
    void StartupFail(const QString& message);
    // Ends the modal showing with the current Tag.
    void Finish();

    void tstartupTimer();
    void berrorClick();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

public Q_SLOTS:
    void reject() override; // Escape: only once a failure is shown

private:
    void Pause(int steps);
    TFormSlotEntry<Tfsplash> slot_ { this };
};

// The program's start-up window (the one start-up created, or one made on first use).
inline Tfsplash& fsplash()
{
    return TFormSlot<Tfsplash>::Get();
}
