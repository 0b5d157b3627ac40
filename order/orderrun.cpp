#include "order/orderrun.h"

#include "core/log.h"
#include "lab/md5.h"
#include "lab/vdengine.h"
#include "net/ftpconnect.h"
#include "order/historyfolder.h"
#include "order/metadatareader.h"
#include "order/orderupload.h"
#include "platform/files.h"

#include <QFileInfo>
#include <QScopeGuard>

#include <algorithm>

QString PostOrderPage(const TEngine& engine, const QString& orderId, const QString& login)
{
    if (engine.postorderpage.isEmpty())
        return {};
    const QString sign = MD5Hex(engine.authkey + orderId + login);
    return engine.postorderpage + "?id=" + orderId + "&sign=" + sign;
}

TOrderRun::TOrderRun(TVDImage& project, const TEngine& engine, const TFormats& formats, TOrderCustomer customer,
    TOrderRunListener& listener)
    : project_(project)
    , engine_(engine)
    , formats_(formats)
    , customer_(std::move(customer))
    , listener_(listener)
{
}

TOrderOutcome TOrderRun::Run()
{
    const auto cleanUp = qScopeGuard([this] {
        if (kept_)
            return;
        if (!order_.orderDir.isEmpty())
            DeleteFileForced(UnfinishedRecordPath(order_.orderDir));
        order_.CleanupOrder();
    });
    return RunSteps();
}

TOrderOutcome TOrderRun::Resume(const TUnfinishedOrder& unfinished)
{
    Log("-= Finishing unfinished order " + unfinished.orderId + " =-", 1);
    order_.Reset();
    order_.orderId = unfinished.orderId;
    order_.orderDir = unfinished.folder;
    for (const TUnfinishedFile& file : unfinished.files)
        order_.orderSize += file.size;
    TakeFiguresFromMetadata(unfinished.Paths().constLast());
    listener_.OrderStarted(order_);
    history_ = {};
    markHistory_ = !unfinished.historyId.isEmpty()
        && history_.LoadEntry(HistoryFolder() + "/" + unfinished.historyId + "_hist.dat");
    if (!markHistory_)
        Log("Unfinished order " + unfinished.orderId + " has no history entry to mark as sent", 2);

    kept_ = true;
    const auto cleanUp = qScopeGuard([this, &unfinished] {
        if (!kept_)
            DeleteOrderFolder(unfinished.folder);
    });
    TUnfinishedOrder record = unfinished;
    return SendOrder(record.Paths(), { record.sent, true }, &record, record.login);
}

void TOrderRun::TakeFiguresFromMetadata(const QString& metadataPath)
{
    const QStringList lines = ReadMetadataLines(ReadMetadataFile(metadataPath).value_or(QByteArray()));
    bool known = false;
    const int64_t origSize = MetadataValue(lines, QStringLiteral("orygsize")).toLongLong(&known);
    order_.origSize = known ? origSize : kUnknownSize;
    const int photos = MetadataValue(lines, QStringLiteral("count")).toInt(&known);
    order_.photosDone = known ? photos : 0;
    order_.sourceRaw = kUnknownSize;
    order_.orderRawSize = kUnknownSize;
}

void TOrderRun::Discard(const TUnfinishedOrder& unfinished)
{
    Log("Unfinished order " + unfinished.orderId + " dropped", 1);
    if (const TFtpConnectResult connected = ConnectFtp(ftp_, engine_.orderpath); connected.ok) {
        QStringList paths = unfinished.Paths();
        std::reverse(paths.begin(), paths.end()); // the metadata first
        for (const QString& path : std::as_const(paths))
            ftp_.Delete(UploadRemoteName(path)); // a file that never arrived cannot be deleted
        ftp_.Disconnect();
    } else {
        Log("Unfinished order " + unfinished.orderId + ": its files on the server could not be deleted", 2);
    }
    DeleteOrderFolder(unfinished.folder);
}

TOrderOutcome TOrderRun::RunSteps()
{
    order_.Reset();
    const TOrderListener package = PackageListener();
    if (!Succeeded(order_.InitOrder(project_, engine_.orderid, history_)))
        return TOrderOutcome::Failed;
    listener_.OrderStarted(order_);

    Status(QStringLiteral("Tworzenie zlecenia ..."));
    if (!Succeeded(order_.RenderOrderPhotos(project_, engine_.outputdpi, history_, package)))
        return TOrderOutcome::Failed;
    if (engine_.pack) {
        Status(QStringLiteral("Kompresowanie zlecenia ..."));
        order_.PackOrder(package);
    }
    if (!Succeeded(order_.WriteMetadata(project_, engine_, formats_, customer_)))
        return TOrderOutcome::Failed;
    order_.RecordHistory(history_);
    if (DontSend()) {
        Status(QStringLiteral("Zlecenie przygotowane, nie zostało wysłane."));
        listener_.Information(QStringLiteral("Dontsend flag detected, press ok to clean up and close..."));
        return TOrderOutcome::Prepared;
    }

    std::optional<TUnfinishedOrder> record = KeepForResume();
    kept_ = record.has_value();
    return SendOrder(order_.FilesToSend(engine_.pack), {}, record ? &*record : nullptr, customer_.login);
}

std::optional<TUnfinishedOrder> TOrderRun::KeepForResume() const
{
    TUnfinishedOrder record { order_.orderId, history_.id, customer_.login, 0, {}, order_.orderDir };
    for (const QString& path : order_.FilesToSend(engine_.pack)) {
        const QFileInfo file(path);
        if (!file.isFile())
            return std::nullopt; // a file that is missing cannot be sent later either
        record.files.push_back({ file.fileName(), file.size() });
    }
    if (!ParseUnfinishedOrder(UnfinishedOrderBytes(record))) {
        Log("Order " + order_.orderId + " cannot be kept for a later start (its login or names)", 2);
        return std::nullopt;
    }
    if (!WriteUnfinishedOrder(record))
        return std::nullopt;
    return record;
}

TOrderOutcome TOrderRun::SendOrder(
    const QStringList& files, const TUploadStart& start, TUnfinishedOrder* record, const QString& login)
{
    Status(QStringLiteral("Łączenie z serwerem ..."));
    const TFtpConnectResult connected = ConnectFtp(ftp_, engine_.orderpath);
    if (!connected.ok) {
        listener_.Error(connected.message);
        return TOrderOutcome::Failed;
    }
    Status(QStringLiteral("Wysyłanie zlecenia ..."));
    if (!Upload(files, start, record))
        return TOrderOutcome::Failed;
    kept_ = false; // the metadata is verified on the server: the order is the lab's now
    Status(QStringLiteral("Zlecenie zostało wysłane."));
    if (markHistory_)
        TOrder::MarkSent(history_);
    if (const QString page = PostOrderPage(engine_, order_.orderId, login); !page.isEmpty())
        listener_.OpenPage(page);
    if (listener_.Question(
            QStringLiteral("Zlecenie zostało pomyślnie wysłane !\rWyczyścić zlecenie z wysłanych zdjęć ?")))
        listener_.ClearProject();
    return TOrderOutcome::Sent;
}

bool TOrderRun::Succeeded(const TOrderStep& step)
{
    if (!step.ok)
        listener_.Error(step.message);
    return step.ok;
}

void TOrderRun::Status(const QString& status)
{
    listener_.StatusChanged(status);
    listener_.StatsChanged(order_);
}

TOrderListener TOrderRun::PackageListener()
{
    TOrderListener package;
    package.refreshStats = [this] { listener_.StatsChanged(order_); };
    package.showRendered = [this](const QImage& rendered) { listener_.PhotoRendered(rendered); };
    package.progress = [this](int percent) { listener_.ProgressChanged(percent); };
    package.timeLeft = [this](const QString& text) { listener_.TimeLeftChanged(text); };
    return package;
}

bool TOrderRun::Upload(const QStringList& files, const TUploadStart& start, TUnfinishedOrder* record)
{
    listener_.UploadStarted();
    TUploadListener upload;
    upload.fileBegin = [this](qint64 bytes) { listener_.UploadFileStarted(bytes); };
    upload.progress = [this](const TUploadProgress& progress) {
        listener_.UploadProgressed(progress);
        listener_.StatsChanged(order_);
    };
    upload.fileEnd = [this] { listener_.UploadFileEnded(); };
    upload.fileSent = [this, record](int filesSent, qint64) {
        if (record) {
            record->sent = filesSent;
            WriteUnfinishedOrder(*record);
        }
        listener_.UploadFileSent(filesSent);
        listener_.StatsChanged(order_);
    };
    upload.retrying = [this](int, const QString& notice) { listener_.UploadRetrying(notice); };
    upload.error = [this](const QString& message) { listener_.Error(message); };
    const TUploadResult result = UploadOrder(ftp_, files, engine_.orderpath, upload, start);
    listener_.UploadFinished(result.sent);
    return result.sent;
}
