#include "order/orderzip.h"

#include "core/log.h"
#include "order/localwait.h"

#include <QFile>
#include <QFileInfo>

#include <zip.h>

#include <atomic>
#include <thread>

namespace {

constexpr int kDeflateLevel = 9;
constexpr double kProgressPrecision = 0.01; // one percent

QString ZipError(zip_t* archive)
{
    return QString::fromLocal8Bit(zip_strerror(archive));
}

bool Fail(const QString& zipPath, const QString& reason)
{
    Log("PackOrder: " + zipPath + ": " + reason, 3);
    return false;
}

// Adds one file; the data is read when the archive is closed.
bool AddFile(zip_t* archive, const QString& path)
{
    const QString name = QFileInfo(path).fileName();
    zip_source_t* source = zip_source_file(archive, QFile::encodeName(path).constData(), 0, -1);
    if (!source)
        return false;
    const zip_int64_t index
        = zip_file_add(archive, name.toUtf8().constData(), source, ZIP_FL_ENC_UTF_8 | ZIP_FL_OVERWRITE);
    if (index < 0) {
        zip_source_free(source);
        return false;
    }
    return StoredUncompressed(name)
        ? zip_set_file_compression(archive, zip_uint64_t(index), ZIP_CM_STORE, 0) == 0
        : zip_set_file_compression(archive, zip_uint64_t(index), ZIP_CM_DEFLATE, kDeflateLevel) == 0;
}

struct TProgressState {
    TLocalWait* wait;
    const std::function<void(int)>* progress;
    int last = -1;
};

void Report(TProgressState& state, int percent)
{
    state.last = percent;
    const std::function<void(int)>* progress = state.progress;
    state.wait->Post([progress, percent] {
        if (*progress)
            (*progress)(percent);
    });
}

void OnProgress(zip_t*, double done, void* data)
{
    Report(*static_cast<TProgressState*>(data), qRound(done * 100.0));
}

} // namespace

bool StoredUncompressed(const QString& fileName)
{
    static const QStringList stored { "gif", "png", "z", "zip", "zoo", "arc", "lzh", "arj", "taz", "tgz", "lha", "rar",
        "ace", "cab", "gz", "gzip", "jar" };
    return stored.contains(QFileInfo(fileName).suffix(), Qt::CaseInsensitive);
}

bool WriteOrderZip(const QString& zipPath, const QStringList& files, const std::function<void(int percent)>& progress)
{
    int error = 0;
    zip_t* archive = zip_open(QFile::encodeName(zipPath).constData(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    if (!archive) {
        zip_error_t reason;
        zip_error_init_with_code(&reason, error);
        const QString text = QString::fromLocal8Bit(zip_error_strerror(&reason));
        zip_error_fini(&reason);
        return Fail(zipPath, "can't create the archive: " + text);
    }
    for (const QString& file : files)
        if (!AddFile(archive, file)) {
            const QString reason = "can't add " + file + ": " + ZipError(archive);
            zip_discard(archive);
            return Fail(zipPath, reason);
        }

    TLocalWait wait;
    TProgressState state { &wait, &progress };
    zip_register_progress_callback_with_state(archive, kProgressPrecision, OnProgress, nullptr, &state);
    int closed = -1;
    std::atomic<bool> finished = false;
    std::thread writer([&] {
        closed = zip_close(archive);
        finished = true;
        wait.Wake();
    });
    while (!finished)
        wait.Wait();
    writer.join();
    if (closed == 0 && state.last < 100)
        Report(state, 100); // libzip's last report may fall short of the end
    wait.Flush(); // the last percentages
    if (closed != 0) {
        const QString reason = "can't write the archive: " + ZipError(archive);
        zip_discard(archive);
        return Fail(zipPath, reason);
    }
    return true;
}
