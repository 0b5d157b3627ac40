#pragma once
// The run's diagnostic log: an in-memory list of lines with levels 0 (progress), 1 (milestone),
// 2 (warning) and 3 (error). Nothing reaches the disk until a log file is saved on demand.
#include "core/typedlists.h"

#include <QString>
#include <QStringList>

#include <functional>

class TLogStore {
public:
    void Append(const QString& message, int level);
    const QStringList& Lines() const { return lines_; }
    const TIntList& Levels() const { return levels_; }
    // Called after each append; the log window uses it to follow the last line.
    void SetListener(std::function<void()> listener) { listener_ = std::move(listener); }
    void Clear(); // tests only start from an empty log

private:
    QStringList lines_;
    TIntList levels_;
    std::function<void()> listener_;
};

TLogStore& LogStore();

// Any thread may log: a line from a thread other than the application object's is posted to
// the application's thread and joins the log (and reaches the listener) there, in the order
// posted. Without an application object every line is appended at once on the calling thread
// (then only one thread may log).
void Log(const QString& message, int level = 0);

// "[ ]", "[i]", "[w]" or "[!]".
QString LogLevelPrefix(int level);

// Write the whole log to AppDir as error_log<date time>.txt or session_log<date time>.txt
// (CR LF lines "prefix: message") and return the file's full path.
QString SaveErrorLog();
QString SaveSessionLog();

// Process-wide test flag set from the log window's command box; the send-order flow reads it.
bool DontSend();
void SetDontSend(bool value);
