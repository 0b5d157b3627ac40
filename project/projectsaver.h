#pragma once
// TProjectSaver: keeps the project file (project/projectfile.h) in step with the project. The
// project reports every change (TVDImage::SetChangeListener); the first change starts a
// one-second timer and when it fires the customer's part of the project is copied on the
// user-interface thread (shared strings, no text made) and, when it differs from what was
// written last, handed to a worker thread that turns it into text and writes the file. So
// the file is written at most once a second, the last change within a second, and the
// user-interface thread never waits for the disk. One saver lives while the main window does.
#include "project/projectfile.h"

#include <QObject>
#include <QThreadPool>
#include <QTimer>

class TVDImage;

class TProjectSaver : public QObject {
public:
    static constexpr int kIntervalMs = 1000;

    TProjectSaver(TVDImage& project, const QString& path);
    // Flush, and the project is no longer listened to.
    ~TProjectSaver() override;
    TProjectSaver(const TProjectSaver&) = delete;
    TProjectSaver& operator=(const TProjectSaver&) = delete;

    const QString& Path() const { return path_; }

    // Writes a waiting change at once (unless paused) and waits until the file is on disk.
    void Flush();
    // While paused (a project being restored) changes wait; resuming saves them a second later.
    void SetPaused(bool paused);
    // Writes nothing more in this run: the file keeps what it holds (a restore cut short by
    // the program's end or a full disk must not replace the project it came from).
    void Stop();

    // The saver living now, or null.
    static TProjectSaver* Current();

private:
    void Noticed();
    void Save(); // on the user-interface thread: copy, compare, hand over
    void Write(const TSavedProject& state);

    TVDImage& project_;
    QString path_;
    QTimer timer_;
    QThreadPool writer_; // one thread: writes never overlap and land in order
    TSavedProject written_; // what the file holds (or is being given)
    bool paused_ = false;
    bool pending_ = false;
};

// Pauses the current saver (if any) for its lifetime.
class TProjectSavePause {
public:
    TProjectSavePause();
    ~TProjectSavePause();
    TProjectSavePause(const TProjectSavePause&) = delete;
    TProjectSavePause& operator=(const TProjectSavePause&) = delete;
};
