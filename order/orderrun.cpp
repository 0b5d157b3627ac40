#include "order/orderrun.h"

#include "core/log.h"
#include "lab/md5.h"
#include "lab/vdengine.h"
#include "net/ftpconnect.h"
#include "order/orderupload.h"

#include <QScopeGuard>

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
    const auto cleanUp = qScopeGuard([this] { order_.CleanupOrder(); });
    return RunSteps();
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

    Status(QStringLiteral("Łączenie z serwerem ..."));
    const TFtpConnectResult connected = ConnectFtp(ftp_, engine_.orderpath);
    if (!connected.ok) {
        listener_.Error(connected.message);
        return TOrderOutcome::Failed;
    }
    Status(QStringLiteral("Wysyłanie zlecenia ..."));
    if (!Upload())
        return TOrderOutcome::Failed;
    Status(QStringLiteral("Zlecenie zostało wysłane."));
    TOrder::MarkSent(history_);
    if (const QString page = PostOrderPage(engine_, order_.orderId, customer_.login); !page.isEmpty())
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

bool TOrderRun::Upload()
{
    listener_.UploadStarted();
    TUploadListener upload;
    upload.fileBegin = [this](qint64 bytes) { listener_.UploadFileStarted(bytes); };
    upload.progress = [this](const TUploadProgress& progress) {
        listener_.UploadProgressed(progress);
        listener_.StatsChanged(order_);
    };
    upload.fileEnd = [this] { listener_.UploadFileEnded(); };
    upload.fileSent = [this](int, qint64) { listener_.StatsChanged(order_); };
    upload.retrying = [this](int, const QString& notice) { listener_.UploadRetrying(notice); };
    upload.error = [this](const QString& message) { listener_.Error(message); };
    const TUploadResult result = UploadOrder(ftp_, order_.FilesToSend(engine_.pack), engine_.orderpath, upload);
    listener_.UploadFinished(result.sent);
    return result.sent;
}
