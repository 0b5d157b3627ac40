#include "core/dialogfolders.h"

#include "core/core.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

QString TConfig::*FieldOf(TDialogPurpose purpose)
{
    switch (purpose) {
    case TDialogPurpose::AddPhotos:
        return &TConfig::photofolder;
    case TDialogPurpose::AccountFiles:
        return &TConfig::accountfolder;
    case TDialogPurpose::SaveFolder:
        return &TConfig::savefolder;
    }
    return &TConfig::photofolder;
}

bool IsFolder(const QString& path)
{
    return !path.isEmpty() && QFileInfo(path).isDir();
}

} // namespace

QString DialogStartFolder(const TConfig* config, TDialogPurpose purpose)
{
    if (config) {
        // Only an absolute folder: a relative one would be the working folder's.
        const QString remembered = config->*FieldOf(purpose);
        if (QDir::isAbsolutePath(remembered) && IsFolder(remembered))
            return QDir::cleanPath(remembered);
    }
    const QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    if (QDir::isAbsolutePath(pictures) && IsFolder(pictures))
        return QDir::cleanPath(pictures);
    return QDir::homePath();
}

void RememberDialogFolder(TConfig* config, TDialogPurpose purpose, const QString& chosen)
{
    if (!config || chosen.isEmpty())
        return;
    const QFileInfo info(chosen);
    config->*FieldOf(purpose) = QDir::cleanPath(info.isDir() ? info.absoluteFilePath() : info.absolutePath());
}
