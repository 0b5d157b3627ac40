// EDITTHREAD: renders on request with repaint events, restarts from the top when a setting
// changes mid-render, breaks and stops on demand.
#include "core/log.h"
#include "imaging/editthread.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QObject>
#include <QThread>

#include <gtest/gtest.h>

#include <random>

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

QImage RandomPicture(int width, int height)
{
    std::mt19937 random(4);
    QImage picture(width, height, QImage::Format_ARGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            reinterpret_cast<std::uint32_t*>(picture.scanLine(y))[x] = std::uint32_t(random());
    return picture;
}

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

// Processes events until the worker is idle with nothing pending, or a few seconds pass.
bool WaitUntilIdle(EditState& state)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 20000) {
        QCoreApplication::processEvents();
        {
            std::lock_guard<std::mutex> guard(state.lock);
            if (!state.busy && !state.redoRequested)
                return true;
        }
        QThread::msleep(5);
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

}  // namespace

TEST_F(EditThread, RendersOnRequestAndAsksForRepaints)
{
    const Corrections settings = Settings(40);
    RequestEditRender(state_, settings);
    ASSERT_TRUE(WaitUntilIdle(state_));
    QCoreApplication::processEvents();
    EXPECT_EQ(counter_.repaints, 1);  // one outstanding until the window paints
    std::lock_guard<std::mutex> guard(state_.lock);
    EXPECT_TRUE(state_.updatePosted);
    EXPECT_EQ(state_.result, Expected(state_.source, settings));
}

TEST_F(EditThread, ASettingChangedMidRenderRestartsFromTheTop)
{
    for (int round = 0; round < 5; ++round) {
        RequestEditRender(state_, Settings(10 + round));
        QThread::msleep(round * 7);  // somewhere inside the render
        {
            std::lock_guard<std::mutex> guard(state_.lock);
            state_.updatePosted = false;  // the window painted
        }
    }
    const Corrections last = Settings(99);
    RequestEditRender(state_, last);
    ASSERT_TRUE(WaitUntilIdle(state_));
    std::lock_guard<std::mutex> guard(state_.lock);
    EXPECT_EQ(state_.result, Expected(state_.source, last));
}

TEST_F(EditThread, BreakReturnsWithNothingRunningOrPending)
{
    RequestEditRender(state_, Settings(70));
    QThread::msleep(15);
    BreakEditRender(state_);
    QImage afterBreak;
    {
        std::lock_guard<std::mutex> guard(state_.lock);
        EXPECT_FALSE(state_.busy);
        EXPECT_FALSE(state_.redoRequested);
        EXPECT_FALSE(state_.breakRequested);
        afterBreak = state_.result.copy();
    }
    QThread::msleep(50);
    std::lock_guard<std::mutex> guard(state_.lock);
    EXPECT_EQ(state_.result, afterBreak);  // no row was rendered after the break
}

TEST_F(EditThread, StopEndsTheWorkerAndLogsEachStep)
{
    RequestEditRender(state_, Settings(5));
    LogStore().Clear();
    StopEditWorker(state_);
    EXPECT_FALSE(state_.worker.joinable());
    EXPECT_FALSE(state_.workerAlive);
    EXPECT_EQ(LogStore().Lines(),
              QStringList({"Stopping EDITTHREAD ...", "Signaling EDITTHREAD to terminate ...",
                           "Waiting for EDITTHREAD to terminate ...", "EDITHREAD terminated."}));
    // A stopped worker can be started again.
    ASSERT_TRUE(StartEditWorker(state_));
    RequestEditRender(state_, Settings(5));
    ASSERT_TRUE(WaitUntilIdle(state_));
}
