#include "project/projectfolder.h"

#include "core/log.h"
#include "core/textutils.h"
#include "imaging/geometry.h"
#include "imaging/workingcopy.h"
#include "platform/appdir.h"
#include "platform/files.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>

#include <algorithm>
#include <list>
#include <map>
#include <mutex>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

const QString kPrefix = QStringLiteral("VDTMP.");
const QString kMarker = QStringLiteral(".owner");
// Attempts at a fresh folder name before giving up.
constexpr int kFolderAttempts = 8;
// The block a file's last bytes take up on disk.
constexpr int64_t kDiskBlock = 4096;

// The markers this process holds locked, by folder.
std::map<QString, int>& HeldMarkers()
{
    static std::map<QString, int> markers;
    return markers;
}

QByteArray Native(const QString& path)
{
    return QFile::encodeName(path);
}

// Creates the marker under a passing name, locks it and only then gives it its name, so a
// sweep never sees a marker that is not yet locked. The lock goes with the process, however
// it ends.
int LockMarker(const QString& folder)
{
    const QString passing = folder + QStringLiteral("/.owner.new");
    const int fd = ::open(Native(passing).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0)
        return -1;
    const QByteArray pid = QByteArray::number(qint64(::getpid())) + '\n';
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0 || ::write(fd, pid.constData(), size_t(pid.size())) != pid.size()
        || ::rename(Native(passing).constData(), Native(folder + u'/' + kMarker).constData()) != 0) {
        ::unlink(Native(passing).constData());
        ::close(fd);
        return -1;
    }
    return fd;
}

// True when the folder's marker exists and no process holds its lock.
bool OwnerGone(const QString& folder)
{
    const int fd = ::open(Native(folder + u'/' + kMarker).constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0)
        return false;
    const bool gone = ::flock(fd, LOCK_EX | LOCK_NB) == 0;
    ::close(fd);
    return gone;
}

int64_t FolderBytes(const QString& folder)
{
    int64_t bytes = 0;
    QDirIterator files(folder, QDir::Files | QDir::NoSymLinks, QDirIterator::Subdirectories); // not the marker
    while (files.hasNext())
        bytes += files.nextFileInfo().size();
    return bytes;
}

// The claims being written, with what each has still to write.
struct TClaims {
    std::mutex mutex;
    std::list<const TDiskSpaceClaim*> open;
};

TClaims& Claims()
{
    static TClaims claims;
    return claims;
}

int64_t FilesBytes(const QStringList& files)
{
    int64_t bytes = 0;
    for (const QString& file : files)
        bytes += std::max<int64_t>(QFileInfo(file).size(), 0);
    return bytes;
}

} // namespace

QString CreateProjectFolder()
{
    const QString cache = AppPath(QString(), FileUse::Cache);
    for (int attempt = 0; attempt < kFolderAttempts; ++attempt) {
        const QString folder = cache + u'/' + kPrefix + RandomHex(12);
        if (!CreatePrivateDir(folder))
            continue;
        const int fd = LockMarker(folder);
        if (fd < 0) {
            RemoveEmptyDir(folder);
            return {};
        }
        HeldMarkers()[folder] = fd;
        return folder;
    }
    return {};
}

void ReleaseProjectFolder(const QString& folder)
{
    const auto held = HeldMarkers().find(folder);
    if (held == HeldMarkers().end())
        return;
    ::unlink(Native(folder + u'/' + kMarker).constData());
    ::close(held->second);
    HeldMarkers().erase(held);
}

void SweepAbandonedProjectFolders()
{
    const QString cache = AppPath(QString(), FileUse::Cache);
    const QStringList names
        = QDir(cache).entryList({ kPrefix + u'*' }, QDir::Dirs | QDir::NoDotAndDotDot | QDir::NoSymLinks);
    for (const QString& name : names) {
        const QString folder = cache + u'/' + name;
        if (!OwnerGone(folder))
            continue;
        const int64_t bytes = FolderBytes(folder);
        if (QDir(folder).removeRecursively())
            Log(QStringLiteral("Removed abandoned project folder %1 (%2 bytes)").arg(folder, QString::number(bytes)),
                1);
        else
            Log(QStringLiteral("Can't remove abandoned project folder ") + folder, 2);
    }
}

int64_t WorkingCopiesBytes(QSize picture, int previewSize)
{
    TRect preview { 0, 0, picture.width(), picture.height() };
    FitRect({ 0, 0, previewSize, previewSize }, preview, false);
    const auto copy = [](int64_t width, int64_t height) {
        return WorkingCopyFileBytes(std::max<int64_t>(width, 0), std::max<int64_t>(height, 0)) + kDiskBlock;
    };
    return copy(picture.width(), picture.height()) + copy(preview.Width(), preview.Height());
}

TDiskSpaceClaim::TDiskSpaceClaim(const QStringList& files, int64_t bytes)
    : files_(files)
    , bytes_(bytes)
{
    TClaims& claims = Claims();
    const std::lock_guard<std::mutex> lock(claims.mutex);
    const int64_t free = FreeDiskSpace(QFileInfo(files_.value(0)).path());
    if (free < 0) { // the disk cannot say: the writes will tell
        granted_ = true;
        return;
    }
    available_ = free;
    for (const TDiskSpaceClaim* other : claims.open)
        available_ -= std::max<int64_t>(other->bytes_ - FilesBytes(other->files_), 0);
    granted_ = available_ >= bytes_;
    if (granted_)
        claims.open.push_back(this);
}

TDiskSpaceClaim::~TDiskSpaceClaim()
{
    if (!granted_)
        return;
    TClaims& claims = Claims();
    const std::lock_guard<std::mutex> lock(claims.mutex);
    claims.open.remove(this);
}

QString NoRoomMessage(const QString& photoName, const QString& folder, int64_t needed, int64_t available)
{
    return QStringLiteral("Za mało miejsca na dysku, aby dodać zdjęcie %1 !\rJego kopie robocze potrzebują %2 "
                          "wolnego miejsca w folderze\r%3\ra jest tam tylko %4.\rZwolnij miejsce na dysku i dodaj "
                          "pozostałe zdjęcia ponownie.")
        .arg(photoName, FormatByteSize(needed, QStringLiteral("Mb")), folder,
            FormatByteSize(std::max<int64_t>(available, 0), QStringLiteral("Mb")));
}
