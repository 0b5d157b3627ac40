// vendaro-lab stamp FILE [--write]
#include "tools/vendaro-lab/labcommand.h"

#include "lab/stamp.h"

#include <QFileInfo>

namespace {

int RunStamp(const QStringList& args)
{
    QStringList rest = args;
    const bool write = rest.removeAll(QStringLiteral("--write")) > 0;
    if (rest.size() != 1)
        return LabFail(QStringLiteral("usage: vendaro-lab stamp FILE [--write]"));
    const QString path = rest.front();
    if (!QFileInfo(path).isFile())
        return LabFail("cannot read " + path);
    const QString stamp = ComputeStamp(path);
    if (stamp.isEmpty())
        return LabFail("cannot read " + path);
    if (write && !WriteStamp(path))
        return LabFail("the stamp written to " + path + " does not verify");
    LabPrint(stamp);
    return 0;
}

const LabCommand command(QStringLiteral("stamp"), QStringLiteral("stamp FILE [--write]"),
    QStringLiteral("Prints the digital stamp of an INI-style lab file (engine.ini, the settings file).\n"
                   "With --write also stores it as stamp= in section [digitalstamp], adding the\n"
                   "section when missing and keeping every other line, so that the file verifies."),
    RunStamp);

} // namespace
