#include "net/labfetch.h"

#include "core/log.h"
#include "lab/listfile.h"
#include "lab/vdengine.h"
#include "net/quietget.h"
#include "platform/appdir.h"
#include "platform/files.h"

#include <QFile>

namespace {

// Copies through a temporary name, so a failed copy never leaves a half file in place. A file
// above the lab file limit is not read.
bool CopyIntoPlace(const QString& source, const QString& target)
{
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return false;
    return LabFileFits(in) && WriteFileAtomically(target, in.readAll());
}

// Brings source to the program folder as targetName: copied from the config folder for
// "file", downloaded as protocol://source for "http" and "https".
bool FetchBySource(const QString& protocol, const QString& source, const QString& targetName)
{
    const QString target = AppPath(targetName, FileUse::Write);
    if (protocol == QLatin1String("file")) {
        Log("Getting " + source + " using file protocol ...");
        return CopyIntoPlace(AppPath("config/" + source), target);
    }
    if (protocol == QLatin1String("http") || protocol == QLatin1String("https")) {
        Log("Getting " + source + " using " + protocol + " protocol ...");
        return QuietGetHTTP(protocol + "://" + source, target, kLabFileMaxBytes);
    }
    return false;
}

} // namespace

bool FetchSettings(const TEngine& engine)
{
    Log("Getting " + engine.settings + " using http protocol ...");
    return QuietGetHTTP(engine.settings, AppPath(kSettingsTmp, FileUse::Write), kLabFileMaxBytes);
}

bool FetchFormats(TEngine& engine)
{
    if (!FetchBySource(engine.formatsProtocol, engine.formatsSource, kFormatsTmp))
        return false;
    engine.formatsSource = AppPath(kFormatsTmp);
    return true;
}

bool FetchShopList(const TEngine& engine)
{
    return FetchBySource(engine.shopsProtocol, engine.shopsSource, kShopsTmp);
}
