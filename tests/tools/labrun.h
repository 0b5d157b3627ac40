#pragma once
// Runs the built vendaro-lab (VENDARO_LAB) as a process and checks its one-line failures.
#include <QString>
#include <QStringList>

struct LabRun {
    int exitCode = -1; // -1 when it did not end normally
    QString out;
    QString err;
};

LabRun Lab(const QStringList& args);

// Exit status 1, nothing on stdout, one line "vendaro-lab: ..." on stderr.
void ExpectOneLineError(const LabRun& run, const QString& what);
