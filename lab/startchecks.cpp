#include "lab/startchecks.h"

#include "core/log.h"
#include "core/textutils.h"
#include "platform/cp1250.h"
#include "platform/files.h"
#include "platform/paths.h"

#include <QDateTime>
#include <QFile>
#include <QProcess>
#include <QStringList>

#include <optional>

namespace {

// Attempts at a fresh installer folder name before giving up.
constexpr int kInstallerFolderAttempts = 8;

QStringList ReadLines(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return SplitTextLines(FromCp1250(file.readAll()));
}

bool WriteText(const QString& path, const QString& text)
{
    return WriteFileAtomically(path, ToCp1250(text));
}

struct TVersion {
    int major = 0;
    int minor = 0;
    int release = 0;
};

// "2.1.5  (Build 5)" -> 2, 1, 5: the release ends at the first blank.
std::optional<TVersion> ParseVersion(const QString& text)
{
    const qsizetype first = text.indexOf(u'.');
    const qsizetype second = first < 0 ? -1 : text.indexOf(u'.', first + 1);
    const qsizetype blank = second < 0 ? -1 : text.indexOf(u' ', second + 1);
    if (blank < 0)
        return std::nullopt;
    bool ok[3] = {};
    const TVersion version { text.left(first).toInt(&ok[0]), text.mid(first + 1, second - first - 1).toInt(&ok[1]),
        text.mid(second + 1, blank - second - 1).toInt(&ok[2]) };
    if (!ok[0] || !ok[1] || !ok[2])
        return std::nullopt;
    return version;
}

} // namespace

QString FirstLine(const QString& path)
{
    const QStringList lines = ReadLines(path);
    return lines.isEmpty() ? QString() : lines.front();
}

bool IsNewerVersion(const QString& offered, const QString& current)
{
    const auto newer = ParseVersion(offered);
    const auto installed = ParseVersion(current);
    if (!newer || !installed) {
        Log("Update check: cannot compare \"" + offered + "\" with \"" + current + "\"", 2);
        return false;
    }
    if (newer->major != installed->major)
        return newer->major > installed->major;
    if (newer->minor != installed->minor)
        return newer->minor > installed->minor;
    return newer->release > installed->release;
}

bool UpdateOffered(const QString& seedFile, const QString& currentVersion, const QString& progIdFile)
{
    const QStringList seed = ReadLines(seedFile);
    const QString newVersion = seed.value(0);
    const QString updateId = seed.value(1);
    bool offer = false;
    if (!updateId.isEmpty()) {
        if (!QFile::exists(progIdFile))
            RecordUpdateId(seedFile, progIdFile);
        else
            offer = FirstLine(progIdFile) != updateId;
    }
    if (!offer && !newVersion.isEmpty() && newVersion != currentVersion)
        offer = IsNewerVersion(newVersion, currentVersion);
    return offer;
}

bool RecordUpdateId(const QString& seedFile, const QString& progIdFile)
{
    return WriteText(progIdFile, ReadLines(seedFile).value(1) + "\r\n");
}

QString InstallerPath()
{
    const QString temp = TempDir();
    for (int attempt = 0; attempt < kInstallerFolderAttempts; ++attempt) {
        const QString folder = temp + "/vendaro-update." + RandomHex(12);
        if (CreatePrivateDir(folder))
            return folder + "/vdiu_" + QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMddhhmmss")) + ".exe";
    }
    Log("Can't create a folder for the installer in " + temp, 3);
    return {};
}

bool StartInstaller(const QString& path)
{
    QFile installer(path);
    if (!installer.setPermissions(installer.permissions() | QFileDevice::ExeOwner | QFileDevice::ExeUser))
        return false;
    return QProcess::startDetached(path, {});
}

QString NewsIdToShow(const QString& shownFile, const QString& fetchedFile)
{
    const QString fetched = FirstLine(fetchedFile);
    if (fetched.isEmpty() || fetched == FirstLine(shownFile))
        return {};
    return fetched;
}

bool RecordShownNews(const QString& shownFile, const QString& id)
{
    return WriteText(shownFile, id);
}
