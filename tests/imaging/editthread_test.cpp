// EDITTHREAD: renders on request with repaint events, restarts from the top when a setting
// changes mid-render, breaks and stops on demand.
#include "core/log.h"
#include "imaging/editthread.h"
#include "tests/imaging/testpictures.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QObject>
#include <QThread>

#include <gtest/gtest.h>

#include <cstring>

namespace {

class RepaintCounter : public QObject {
public:
    int repaints = 0;

protected:
    bool event(QEvent* event) override
    {
        if (event->type() != kEditRepaintEvent)
            return QObject::event(event);
        ++repaints;
        return true;
    }
};

Corrections Settings(int hue)
{
    Corrections c;
    InitCorrections(c);
    c.hue1 = hue;
    c.sat = 30;
    c.contr = -20;
    return c;
}

QImage Expected(const QImage& source, const Corrections& settings)
{
    QImage expected = source.copy();
    ApplyCorrections(expected, settings, false);
    return expected;
}

bool SameRow(const QImage& picture, const QImage& expected, int y)
{
    return picture.size() == expected.size() && picture.format() == expected.format()
        && std::memcmp(picture.constScanLine(y), expected.constScanLine(y), std::size_t(picture.bytesPerLine())) == 0;
}

// Processes events until done() holds (checked under the lock), or 20 seconds pass.
template <typename Condition> bool WaitFor(EditState& state, Condition done)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 20000) {
        QCoreApplication::processEvents();
        {
            std::lock_guard<std::mutex> guard(state.lock);
            if (done())
                return true;
        }
        QThread::msleep(1);
    }
    return false;
}

// The worker idle with nothing pending.
bool WaitUntilIdle(EditState& state)
{
    return WaitFor(state, [&] { return !state.busy && !state.redoRequested; });
}

// Spins on the lock (the worker takes it again at once after every row) until the render of
// expected is under way, then calls then() still under the lock. Returns false when the render
// was past its last two rows before the test got in, or after 20 seconds.
template <typename Then> bool CatchMidRender(EditState& state, const QImage& expected, Then then)
{
    const int bottom = expected.height() - 1;
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 20000) {
        std::unique_lock<std::mutex> guard(state.lock, std::try_to_lock);
        if (!guard.owns_lock() || !state.busy || !SameRow(state.result, expected, 0))
            continue;
        if (SameRow(state.result, expected, bottom - 1))
            return false;
        then();
        return true;
    }
    return false;
}

class EditThread : public testing::Test {
protected:
    void SetUp() override
    {
        state_.source = RandomPicture(400, 600);
        state_.pivot = AverageGrey(state_.source);
        state_.repaintTarget = &counter_;
        ASSERT_TRUE(StartEditWorker(state_));
    }

    RepaintCounter counter_;
    EditState state_;
};

} // namespace

TEST_F(EditThread, RendersOnRequestAndAsksForRepaints)
{
    const Corrections settings = Settings(40);
    RequestEditRender(state_, settings);
    ASSERT_TRUE(WaitUntilIdle(state_));
    QCoreApplication::processEvents();
    EXPECT_EQ(counter_.repaints, 1); // one outstanding until the window paints
    std::lock_guard<std::mutex> guard(state_.lock);
    EXPECT_TRUE(state_.updatePosted);
    EXPECT_EQ(state_.result, Expected(state_.source, settings));
}

TEST_F(EditThread, ASettingChangedMidRenderRestartsFromTheTop)
{
    const QImage stale = Expected(state_.source, Settings(10));
    const Corrections last = Settings(99);
    const int bottom = state_.source.height() - 1;
    // Renders with the stale setting into a blank picture until the test gets in mid-render
    // and changes the setting there.
    bool changedMidRender = false;
    for (int attempt = 0; attempt < 100 && !changedMidRender; ++attempt) {
        ASSERT_TRUE(WaitUntilIdle(state_));
        {
            std::lock_guard<std::mutex> guard(state_.lock);
            state_.result = QImage(state_.source.size(), QImage::Format_ARGB32); // the worker renders into it
            state_.result.fill(0);
            state_.corrections = Settings(10);
            state_.redoRequested = true;
        }
        changedMidRender = CatchMidRender(state_, stale, [&] {
            state_.corrections = last;
            state_.redoRequested = true;
        });
    }
    ASSERT_TRUE(changedMidRender);
    // The stale render stops within a row: its bottom row is never written.
    bool staleBottomSeen = false;
    ASSERT_TRUE(WaitFor(state_, [&] {
        staleBottomSeen = staleBottomSeen || SameRow(state_.result, stale, bottom);
        return !state_.busy && !state_.redoRequested;
    }));
    EXPECT_FALSE(staleBottomSeen);
    std::lock_guard<std::mutex> guard(state_.lock);
    EXPECT_EQ(state_.result, Expected(state_.source, last));
}

TEST_F(EditThread, BreakReturnsWithNothingRunningOrPending)
{
    RequestEditRender(state_, Settings(70));
    ASSERT_TRUE(WaitFor(state_, [&] { return state_.busy; }));
    BreakEditRender(state_);
    QImage afterBreak;
    {
        std::lock_guard<std::mutex> guard(state_.lock);
        EXPECT_FALSE(state_.busy);
        EXPECT_FALSE(state_.redoRequested);
        EXPECT_FALSE(state_.breakRequested);
        afterBreak = state_.result.copy();
    }
    QThread::msleep(50); // a window in which a worker that went on would write rows
    std::lock_guard<std::mutex> guard(state_.lock);
    EXPECT_EQ(state_.result, afterBreak);
}

TEST_F(EditThread, StopEndsTheWorkerAndLogsEachStep)
{
    RequestEditRender(state_, Settings(5));
    LogStore().Clear();
    StopEditWorker(state_);
    EXPECT_FALSE(state_.worker.joinable());
    EXPECT_FALSE(state_.workerAlive);
    EXPECT_EQ(LogStore().Lines(),
        QStringList({ "Stopping EDITTHREAD ...", "Signaling EDITTHREAD to terminate ...",
            "Waiting for EDITTHREAD to terminate ...", "EDITHREAD terminated." }));
    // A stopped worker can be started again.
    ASSERT_TRUE(StartEditWorker(state_));
    RequestEditRender(state_, Settings(5));
    ASSERT_TRUE(WaitUntilIdle(state_));
}
