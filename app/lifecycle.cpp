#include "app/lifecycle.h"

#include "core/core.h"
#include "core/coreobjects.h"
#include "core/log.h"
#include "lab/formats.h"
#include "lab/startchecks.h"
#include "lab/vdengine.h"
#include "platform/appdir.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/process.h"
#include "project/projectfile.h"
#include "project/projectfolder.h"
#include "project/projectsaver.h"
#include "project/umain.h"
#include "project/uvdimage.h"
#include "skin/skinner.h"
#include "ui/pictures.h"

#include <exception>
#include <memory>

namespace {

// The owners of the objects Core() points at.
struct TCoreOwners {
    std::unique_ptr<TConfig> config;
    std::unique_ptr<TVDImage> vdimage;
    std::unique_ptr<TFormats> formats;
    std::unique_ptr<TEngine> engine;
    std::unique_ptr<TSkinner> skinner;
    std::unique_ptr<TProjectSaver> saver; // goes first: it reads the project as it ends
};

TCoreOwners& Owners()
{
    static TCoreOwners owners;
    return owners;
}

bool gShutDownDone = false;

template <typename T> void Build(std::unique_ptr<T>& owner, T*& pointer, const char* message)
{
    Log(QString::fromLatin1(message));
    owner = std::make_unique<T>();
    pointer = owner.get();
}

template <typename T> void Destroy(std::unique_ptr<T>& owner, T*& pointer, const char* message)
{
    if (!owner)
        return;
    Log(QString::fromLatin1(message));
    pointer = nullptr;
    owner.reset();
}

} // namespace

bool CoreInit()
{
    gShutDownDone = false;
    TCoreOwners& owners = Owners();
    TCoreObjects& core = Core();
    try {
        ForceDirs(AppPath(QStringLiteral("history"), FileUse::Write));
        SweepAbandonedProjectFolders(); // left by a program that was killed
        Build(owners.config, core.config, "Building and loading config ...");
        core.config->InitThumbSizes(fmain().font()); // the built-in sizes until config.ini is read
        Build(owners.vdimage, core.vdimage, "Building VDImage ...");
        Build(owners.formats, core.formats, "Building formats ...");
        Build(owners.engine, core.engine, "Building engine ...");
        core.vdimage->SetSettings({ core.config, core.formats, core.engine });
        Build(owners.skinner, core.skinner, "Building Skinner engine ...");
        Log(QStringLiteral("Creating cursors ..."));
        LoadCursors();
        return true;
    } catch (const std::exception& e) {
        Log(QStringLiteral("CoreInit: ") + QString::fromLocal8Bit(e.what()), 3);
        CoreDeinit();
        return false;
    }
}

void CoreDeinit()
{
    if (!HasSwitch(QStringLiteral("-keeptmp")))
        for (const char* name : { kSettingsTmp, kFormatsTmp, kShopsTmp, kNewsSeedTmp, kUpdateSeedTmp })
            DeleteFileForced(AppPath(QString::fromLatin1(name), FileUse::Write));
    TCoreOwners& owners = Owners();
    TCoreObjects& core = Core();
    owners.saver.reset();
    Destroy(owners.config, core.config, "Destroying config...");
    Destroy(owners.vdimage, core.vdimage, "Destroying vdimage ...");
    Destroy(owners.formats, core.formats, "Destroying formats ...");
    Destroy(owners.engine, core.engine, "Destroying engine ...");
    Destroy(owners.skinner, core.skinner, "Destroying skinner engine ...");
}

void StartProjectSaver()
{
    Owners().saver = std::make_unique<TProjectSaver>(*Core().vdimage, ProjectFilePath());
}

void ShutDown()
{
    if (gShutDownDone)
        return;
    gShutDownDone = true;
    Log(QStringLiteral("Shutting down ..."), 1);
    Log(QStringLiteral("Saving configuration ..."));
    if (Core().config)
        Core().config->Save();
    Log(QStringLiteral("Deinitializing core ..."));
    if (HasSwitch(QStringLiteral("-savelog")))
        SaveSessionLog();
    CoreDeinit();
}
