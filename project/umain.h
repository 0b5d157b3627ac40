#pragma once
// Tfmain ("fmain"): the main window. It opens after a successful start-up with the lab's
// program name as its caption; closing it runs the program's shut-down.
#include "core/ulog.h"
#include "ui/formslot.h"

#include <QMainWindow>
#include <QPointer>

class QAction;
class QToolBar;
class TImage;

class Tfmain : public QMainWindow {
    Q_OBJECT
public:
    explicit Tfmain(QWidget* parent = nullptr);
    ~Tfmain() override;

    // The log window the "LOG" action shows and hides.
    void SetLogWindow(Tflog* log) { logWindow_ = log; }

    TImage* isplash = nullptr; // the start-up picture, kept hidden for the about window
    QToolBar* tbmain = nullptr;
    QAction* alog = nullptr; // "LOG": visible only with the -log switch

    void alogExecute();

Q_SIGNALS:
    // After the shut-down has run; the program entry ends its message loop on it.
    void Closed();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void FormCreate();

    QPointer<Tflog> logWindow_;
};

// The program's main window (the one start-up created, or one made on first use).
Tfmain& fmain();
