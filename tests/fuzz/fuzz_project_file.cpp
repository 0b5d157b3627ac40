// The project file from any bytes. A project that reads must be written back to text that
// reads as the same project, and stay within what the reader promises.
#include "core/log.h"
#include "project/projectfile.h"

#include <QFileInfo>

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::optional<TSavedProject> project
        = ParseProjectFile(QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size)));
    if (!project)
        return 0;
    if (project->focus >= int(project->photos.size()))
        std::abort();
    for (const TSavedPhoto& photo : project->photos)
        if (!photo.sourcePath.startsWith(u'/') || !photo.name.startsWith(QFileInfo(photo.sourcePath).path())
            || photo.quantity < 1)
            std::abort();
    if (ParseProjectFile(ProjectFileText(*project)) != project)
        std::abort();
    LogStore().Clear();
    return 0;
}
