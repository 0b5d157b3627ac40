// vendaro-lab check-order FOLDER ID
#include "tools/vendaro-lab/labcommand.h"

#include "order/ordercheck.h"

namespace {

int RunCheckOrder(const QStringList& args)
{
    if (args.size() != 2)
        return LabFail(QStringLiteral("usage: vendaro-lab check-order FOLDER ID"));
    const TOrderVerdict verdict = CheckOrder(args[0], args[1]);
    LabPrint(verdict.text);
    return verdict.ok ? 0 : 1;
}

const LabCommand command(QStringLiteral("check-order"), QStringLiteral("check-order FOLDER ID"),
    QStringLiteral("Checks a received order as the lab reads it: ID_metadata.txt is there and\n"
                   "reads, every file its mtdata lines name is there (inside ID_pack.zip, which\n"
                   "must read whole, when pack=1), and size= equals the ZIP's or the photos' total.\n"
                   "File names match ignoring letter case. Prints one line; exit status 0 when\n"
                   "the order is complete, else 1."),
    RunCheckOrder);

} // namespace
