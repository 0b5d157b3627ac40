#pragma once
// Commands of vendaro-lab. Each command lives in its own file and registers itself with a
// static LabCommand object; main() dispatches on the first argument.
#include <QString>
#include <QStringList>

#include <functional>

struct LabCommand {
    // usage: the synopsis line after "vendaro-lab "; help: one or more lines describing it.
    LabCommand(QString name, QString usage, QString help, std::function<int(const QStringList& args)> run);

    QString name;
    QString usage;
    QString help;
    std::function<int(const QStringList& args)> run; // args exclude the command name
};

// Prints "vendaro-lab: " + message on stderr and returns exit status 1.
int LabFail(const QString& message);
// Prints text and a line break on stdout (UTF-8).
void LabPrint(const QString& text);
