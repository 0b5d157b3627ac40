#include "project/projectsaver.h"

#include "project/uvdimage.h"

namespace {

TProjectSaver* gCurrent = nullptr;

} // namespace

TProjectSaver::TProjectSaver(TVDImage& project, const QString& path)
    : project_(project)
    , path_(path)
{
    timer_.setSingleShot(true);
    timer_.setInterval(kIntervalMs);
    connect(&timer_, &QTimer::timeout, this, &TProjectSaver::Save);
    writer_.setMaxThreadCount(1);
    project_.SetChangeListener([this] { Noticed(); });
    gCurrent = this;
}

TProjectSaver::~TProjectSaver()
{
    project_.SetChangeListener({});
    if (gCurrent == this)
        gCurrent = nullptr;
    Flush();
}

TProjectSaver* TProjectSaver::Current()
{
    return gCurrent;
}

void TProjectSaver::Noticed()
{
    pending_ = true;
    if (!paused_ && !timer_.isActive())
        timer_.start();
}

void TProjectSaver::Flush()
{
    timer_.stop();
    if (pending_ && !paused_)
        Save();
    writer_.waitForDone();
}

void TProjectSaver::Stop()
{
    project_.SetChangeListener({});
    timer_.stop();
    pending_ = false;
}

void TProjectSaver::SetPaused(bool paused)
{
    paused_ = paused;
    if (paused)
        timer_.stop();
    else if (pending_)
        timer_.start();
}

void TProjectSaver::Save()
{
    pending_ = false;
    TSavedProject state = SavedState(project_);
    if (state != written_)
        Write(state);
}

void TProjectSaver::Write(const TSavedProject& state)
{
    written_ = state;
    writer_.start([path = path_, state] { WriteProjectFile(path, state); });
}

TProjectSavePause::TProjectSavePause()
{
    if (TProjectSaver* saver = TProjectSaver::Current())
        saver->SetPaused(true);
}

TProjectSavePause::~TProjectSavePause()
{
    if (TProjectSaver* saver = TProjectSaver::Current())
        saver->SetPaused(false);
}
