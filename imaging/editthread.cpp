#include "imaging/editthread.h"

#include "core/log.h"
#include "imaging/colourpass.h"
#include "imaging/picture.h"

#include <QCoreApplication>
#include <QObject>

#include <chrono>
#include <system_error>

namespace {

constexpr std::chrono::milliseconds kPollInterval { 10 };
constexpr int kRowsPerRepaint = 100;

using Guard = std::lock_guard<std::mutex>;

// Under the lock: at most one repaint request outstanding.
void PostRepaint(EditState& state)
{
    if (state.updatePosted)
        return;
    if (state.repaintTarget)
        QCoreApplication::postEvent(state.repaintTarget, new QEvent(kEditRepaintEvent));
    state.updatePosted = true;
}

// Under the lock, when a render starts: the pictures in the form the rows are written in.
void PreparePictures(EditState& state)
{
    if (state.source.format() != QImage::Format_ARGB32)
        state.source = As32BitPicture(state.source);
    if (state.result.size() != state.source.size() || state.result.format() != QImage::Format_ARGB32)
        state.result = NewPicture(state.source.width(), state.source.height());
}

// Renders from the top; returns when done or when a request, a break or quit arrives.
void Render(EditState& state, const TColourPass& pass, int width, int height)
{
    for (int y = 0; y < height; ++y) {
        const Guard guard(state.lock);
        const auto* in = reinterpret_cast<const std::uint32_t*>(state.source.constScanLine(y));
        auto* out = reinterpret_cast<std::uint32_t*>(state.result.scanLine(y));
        std::copy(in, in + width, out);
        pass.ApplyRow(out, width);
        if ((y + 1) % kRowsPerRepaint == 0)
            PostRepaint(state);
        if (state.redoRequested || state.quitRequested || state.breakRequested)
            return;
    }
}

void EditWorker(EditState& state)
{
    {
        const Guard guard(state.lock);
        state.workerAlive = true;
    }
    for (;;) {
        Corrections settings;
        int pivot = 0, width = 0, height = 0;
        bool rendering = false;
        {
            // Taking a request and becoming busy is one step, so a break can never miss it.
            const Guard guard(state.lock);
            if (state.quitRequested)
                break;
            if (state.redoRequested) {
                state.redoRequested = false;
                state.busy = rendering = true;
                PreparePictures(state);
                settings = state.corrections;
                pivot = state.pivot;
                width = state.result.isNull() ? 0 : state.source.width();
                height = state.result.isNull() ? 0 : state.source.height();
            }
        }
        if (!rendering) {
            std::this_thread::sleep_for(kPollInterval);
            continue;
        }
        Render(state, TColourPass(settings, pivot, std::int64_t(width) * height), width, height);
        std::this_thread::sleep_for(kPollInterval);
        const Guard guard(state.lock);
        PostRepaint(state);
        state.busy = false;
        if (state.breakRequested)
            state.redoRequested = false;
        state.breakRequested = false;
    }
    const Guard guard(state.lock);
    state.workerAlive = false;
}

template <typename Condition> void PollUntil(EditState& state, Condition done)
{
    for (;;) {
        {
            const Guard guard(state.lock);
            if (done())
                return;
        }
        std::this_thread::sleep_for(kPollInterval);
    }
}

} // namespace

EditState::~EditState()
{
    if (worker.joinable())
        StopEditWorker(*this);
}

bool StartEditWorker(EditState& state)
{
    if (state.worker.joinable())
        StopEditWorker(state);
    Log(QStringLiteral("Initializing & starting EDITTHREAD ..."), 0);
    {
        const Guard guard(state.lock);
        state.quitRequested = state.redoRequested = state.updatePosted = state.busy = state.breakRequested = false;
    }
    try {
        state.worker = std::thread(EditWorker, std::ref(state));
    } catch (const std::system_error&) {
        Log(QStringLiteral("Unable to init/start thread !"), 3);
        return false;
    }
    return true;
}

void StopEditWorker(EditState& state)
{
    Log(QStringLiteral("Stopping EDITTHREAD ..."), 0);
    Log(QStringLiteral("Signaling EDITTHREAD to terminate ..."), 0);
    {
        const Guard guard(state.lock);
        state.quitRequested = true;
    }
    Log(QStringLiteral("Waiting for EDITTHREAD to terminate ..."), 0);
    PollUntil(state, [&] { return !state.workerAlive; });
    if (state.worker.joinable())
        state.worker.join(); // also covers a worker that had not yet marked itself alive
    Log(QStringLiteral("EDITHREAD terminated."), 0);
}

void BreakEditRender(EditState& state)
{
    bool busy = false;
    {
        const Guard guard(state.lock);
        busy = state.busy;
        state.redoRequested = false;
    }
    if (!busy)
        return;
    Log(QStringLiteral("Signaling thread to break edit ..."), 0);
    {
        const Guard guard(state.lock);
        state.breakRequested = true;
    }
    PollUntil(state, [&] { return !state.busy; });
    Log(QStringLiteral("thread broke edit."), 0);
}

void RequestEditRender(EditState& state, const Corrections& settings)
{
    const Guard guard(state.lock);
    state.corrections = settings;
    state.redoRequested = true;
}
