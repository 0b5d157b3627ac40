#pragma once
// EDITTHREAD: the background renderer of the colour-correction window. The window owns an
// EditState (the rotated and cropped preview as source, a result picture of the same size, a
// working copy of the photo's Corrections, the contrast pivot) and six flags, all guarded by
// one lock. The worker polls the flags every 10 ms; on a render request it recomputes the
// result row by row from the top, holding the lock for one row at a time, and asks the window
// to repaint with a posted event (kEditRepaintEvent) after every 100 rows and at the end, at
// most one outstanding: the window clears updatePosted when it paints. A setting changed
// while a render runs restarts it from the top after at most one row.
//
// The window writes settings and requests renders under the lock (RequestEditRender does
// both steps of a request), paints the result under the lock (so it shows whole rows) and
// never holds the lock while waiting for the worker.
#include "imaging/colour.h"

#include <QEvent>
#include <QImage>

#include <mutex>
#include <thread>

class QObject;

inline constexpr QEvent::Type kEditRepaintEvent = QEvent::Type(QEvent::User + 1);

struct EditState {
    QImage source; // Format_ARGB32
    QImage result; // same size; (re)made by the worker when it does not fit
    Corrections corrections {}; // the settings being edited
    int pivot = 0; // AverageGrey(source), fixed while the window is open

    bool redoRequested = false;
    bool quitRequested = false;
    bool workerAlive = false; // set and cleared by the worker itself
    bool updatePosted = false;
    bool busy = false;
    bool breakRequested = false;

    std::mutex lock;
    QObject* repaintTarget = nullptr; // receives kEditRepaintEvent; may be null
    std::thread worker;

    EditState() = default;
    EditState(const EditState&) = delete;
    EditState& operator=(const EditState&) = delete;
    ~EditState(); // stops a worker still running
};

// Clears the flags and starts the worker; logs and returns false when no thread can be made.
bool StartEditWorker(EditState& state);

// Asks the worker to end and waits for it (10 ms polling, then joins it).
void StopEditWorker(EditState& state);

// Cancels a pending render and stops a running one; returns when no row is being processed.
void BreakEditRender(EditState& state);

// Replaces the settings and asks for a render, under the lock.
void RequestEditRender(EditState& state, const Corrections& settings);
