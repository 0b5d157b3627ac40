#include "order/orderpackage.h"

#include "core/log.h"
#include "core/textutils.h"
#include "order/history.h"
#include "order/orderid.h"
#include "order/orderrender.h"
#include "order/orderzip.h"
#include "order/unfinishedorder.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/timeutils.h"
#include "project/uvdimage.h"

#include <QFileInfo>

#include <chrono>

namespace {

// Listener members may be empty.
template <typename F, typename... Args> void Call(const F& f, Args&&... args)
{
    if (f)
        f(std::forward<Args>(args)...);
}

} // namespace

int64_t TOrder::Tick()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void TOrder::Reset()
{
    orderId.clear();
    orderDir.clear();
    metadataLines.clear();
    startTick = Tick();
    photosDone = 0;
    orderSize = 0;
    orderRawSize = 0;
    failed = false;
}

TOrderStep TOrder::Fail(const QString& message)
{
    failed = true;
    return { false, message };
}

TOrderStep TOrder::InitOrder(const TVDImage& project, const QString& orderIdRule, THistory& history)
{
    Log(QStringLiteral("-= Initializing order =-"), 1);
    Log(QStringLiteral("Setting up order ID"));
    const TOrderIdResult id = ObtainOrderId(orderIdRule);
    if (!id.ok)
        return Fail(id.message);
    orderId = id.id;

    origSize = 0;
    sourceRaw = 0;
    for (int i = 0; i < project.Count(); ++i) {
        origSize += FileSize64(project.Photo(i).sourcePath);
        const ImageInfo info = project.GetThumbInfo(i);
        sourceRaw += int64_t(info.width) * info.height * (info.bitsPerPixel / 8);
    }

    orderDir = OrdersFolder() + "/VDOTMP." + RandomHex(8);
    if (!ForceDirs(OrdersFolder()) || !CreatePrivateDir(orderDir))
        return Fail(QStringLiteral("Nie można utworzyć katalogu tymczasowego !"));
    Log("Order ID: " + orderId);
    Log("tmp: " + orderDir);
    history.StartEntry();
    return {};
}

TOrderStep TOrder::RenderOrderPhotos(
    const TVDImage& project, int outputDpi, THistory& history, const TOrderListener& listener)
{
    const int count = project.Count();
    for (int i = 0; i < count; ++i)
        if (const QString problem = project.OutputSheetProblem(i); !problem.isEmpty())
            return Fail(problem);

    renderStartTick = Tick();
    QStringList paths;
    for (int n = 1; n <= count; ++n)
        paths << orderDir + "/" + OrderPhotoName(orderId, n);
    TOrderStep result;
    RenderPhotosInOrder(project, paths, outputDpi, [&](const TRenderedPhoto& photo) {
        const int n = photo.index + 1;
        Log("Saving \"" + QFileInfo(photo.path).fileName() + "\" ...");
        if (!photo.saved) {
            Log("Unable to save: " + photo.path);
            result = Fail(QStringLiteral("Nie można utworzyć pliku tymczasowego !"));
            return false;
        }
        orderFiles << photo.path;
        Call(listener.showRendered, photo.image);
        history.AddThumbnail(photo.image);
        ++photosDone;
        orderSize += photo.fileSize;
        orderRawSize += int64_t(photo.image.width()) * photo.image.height() * 3;
        Call(listener.progress, n * 100 / count);
        const int64_t elapsed = Tick() - renderStartTick;
        const int64_t total = elapsed * count / n;
        Call(listener.timeLeft, FormatElapsed(total - elapsed) + " +++");
        Call(listener.refreshStats);
        return true;
    });
    Call(listener.timeLeft, QStringLiteral("nieznany."));
    return result;
}

void TOrder::PackOrder(const TOrderListener& listener)
{
    Call(listener.progress, 0);
    const QString zipPath = ZipPath();
    WriteOrderZip(zipPath, orderFiles, [&listener](int percent) {
        if (percent > 0)
            Call(listener.progress, percent);
        Call(listener.refreshStats);
    });
    orderSize = FileSize64(zipPath);
    orderFiles << zipPath;
}

TOrderStep TOrder::WriteMetadata(TVDImage& project, const TEngine& engine, const TFormats& formats,
    const TOrderCustomer& customer, const QDateTime& now)
{
    const QString path = MetadataPath();
    metadataLines = MetadataLines(project, engine, formats, customer, { orderId, origSize, orderSize, now });
    QString error;
    if (!WriteFileAtomically(path, MetadataBytes(metadataLines), &error)) {
        Log("Unable to save: " + path + ": " + error, 3);
        return Fail(QStringLiteral("Nie można utworzyć pliku tymczasowego !"));
    }
    orderFiles << path;
    return {};
}

void TOrder::RecordHistory(THistory& history) const
{
    history.lines = metadataLines;
    history.SavePage();
    history.SaveEntry();
}

void TOrder::MarkSent(THistory& history)
{
    history.lines << QStringLiteral("ordersend=1");
    history.SaveEntry();
}

QString TOrder::ZipPath() const
{
    return orderDir + "/" + orderId + "_pack.zip";
}

QString TOrder::MetadataPath() const
{
    return orderDir + "/" + orderId + "_metadata.txt";
}

QStringList TOrder::FilesToSend(bool packed) const
{
    if (!packed)
        return orderFiles;
    return { ZipPath(), MetadataPath() };
}

void TOrder::CleanupOrder()
{
    for (const QString& path : std::as_const(orderFiles))
        DeleteFileForced(path);
    orderFiles.clear();
    if (!orderDir.isEmpty())
        RemoveEmptyDir(orderDir);
}
