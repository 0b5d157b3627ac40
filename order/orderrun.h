#pragma once
// TOrderRun: one order from the customer's confirmation to its end, without a window. It runs
// the steps in this order: InitOrder, RenderOrderPhotos, PackOrder (when the lab wants a ZIP),
// WriteMetadata, RecordHistory, the don't-send flag, ConnectFtp, UploadOrder (each file
// verified on the server), MarkSent, the post-order page and the question after a sent order;
// CleanupOrder runs on every way out but one: from the upload on, the order's folder keeps a
// record (order/unfinishedorder.h) and stays until the metadata is verified on the server, so an
// order that failed or whose program ended can be finished (Resume) or dropped (Discard) at the
// next start. What a window shows or asks meanwhile goes through a TOrderRunListener, whose
// calls all come on the thread that called Run, Resume or Discard.
//
//     TOrderRun run(project, engine, formats, customer, listener);
//     const TOrderOutcome outcome = run.Run(); // local event loops run meanwhile
#include "net/ftpclient.h"
#include "order/history.h"
#include "order/metadata.h"
#include "order/orderpackage.h"
#include "order/unfinishedorder.h"

#include <QImage>
#include <QString>

#include <optional>

class TEngine;
class TFormats;
class TVDImage;
struct TUploadProgress;
struct TUploadStart;

// What a window makes of a running order. Every call has an empty default, except the
// messages and the question, which a window must show.
class TOrderRunListener {
public:
    virtual ~TOrderRunListener() = default;

    // "Obecna czynność": the text of the step that runs now.
    virtual void StatusChanged(const QString& /*status*/) { }
    // The order has its ID, folder and the sizes of its sources.
    virtual void OrderStarted(const TOrder& /*order*/) { }
    // The order's sizes, counts or times changed.
    virtual void StatsChanged(const TOrder& /*order*/) { }
    // The photo just rendered, for the preview.
    virtual void PhotoRendered(const QImage& /*rendered*/) { }
    virtual void ProgressChanged(int /*percent*/) { }
    // The estimated time left; "nieznany." once the photos are rendered.
    virtual void TimeLeftChanged(const QString& /*text*/) { }

    // The upload over the connection made: it begins, each file begins (its size), moves and
    // ends, a failed file is tried again after the notice for the error label, and the upload
    // ends, sent whole or stopped (after its errors).
    virtual void UploadStarted() { }
    virtual void UploadFileStarted(qint64 /*bytes*/) { }
    virtual void UploadProgressed(const TUploadProgress& /*progress*/) { }
    virtual void UploadFileEnded() { }
    // A file is on the server whole: the first filesSent files of the upload are.
    virtual void UploadFileSent(int /*filesSent*/) { }
    virtual void UploadRetrying(const QString& /*notice*/) { }
    virtual void UploadFinished(bool /*sent*/) { }

    // An error message for the customer; a failed step may give more than one, in order.
    virtual void Error(const QString& message) = 0;
    // The don't-send flag's notice: the package was made and is cleaned up unsent.
    virtual void Information(const QString& message) = 0;
    // A question answered with OK (true) or Cancel.
    virtual bool Question(const QString& text) = 0;
    // The lab's post-order page for the sent order, to open in the browser.
    virtual void OpenPage(const QString& /*address*/) { }
    // The customer chose to clear the project of the sent photos.
    virtual void ClearProject() { }
};

enum class TOrderOutcome {
    Failed, // a step failed and showed its messages
    Prepared, // the don't-send flag: made and recorded, not sent
    Sent,
};

// The address of the lab's post-order page for orderId sent under login: postorderpage +
// "?id=" + orderId + "&sign=" + MD5Hex(authkey + orderId + login); empty when the lab has none.
QString PostOrderPage(const TEngine& engine, const QString& orderId, const QString& login);

class TOrderRun {
public:
    // The order of project with the customer's choices; project, engine, formats and listener
    // must outlive the run, and the project must not change while it runs.
    TOrderRun(TVDImage& project, const TEngine& engine, const TFormats& formats, TOrderCustomer customer,
        TOrderRunListener& listener);

    // Runs the whole order once. Spins local event loops (the rendering, the ZIP, every FTP
    // operation, and whatever the listener's messages and question do), so the caller's
    // windows keep painting; the caller keeps its own controls from starting anything
    // meanwhile. The order's files are gone when it returns, unless its upload began and did
    // not end sent: then they wait, with their record, for the next start.
    TOrderOutcome Run();

    // Finishes an order an earlier run left unfinished, without rendering anything: connects,
    // sends what the server does not hold whole yet (the metadata last; a partial file goes on
    // from its end, the upload's rules), then ends as a sent order does: the order's history entry
    // marked sent (unless it is gone), the post-order page, the question. The folder is deleted
    // once the order is sent and kept otherwise. Spins local event loops, as Run.
    TOrderOutcome Resume(const TUnfinishedOrder& unfinished);
    // Drops an unfinished order: its files on the server are deleted, the metadata first, so
    // that the lab never sees a part of it as a whole order (a server that cannot be reached
    // keeps them, without metadata; logged at level 2); then its folder. Spins local event loops.
    void Discard(const TUnfinishedOrder& unfinished);

    const TOrder& Order() const { return order_; }
    const THistory& History() const { return history_; }

private:
    TOrderOutcome RunSteps();
    // The message of a failed step shown; whether the step succeeded.
    bool Succeeded(const TOrderStep& step);
    void Status(const QString& status);
    TOrderListener PackageListener();
    // The record of the order just prepared, written beside its files; nothing when it could
    // not be written (the order then goes as before, cleaned up on every way out).
    std::optional<TUnfinishedOrder> KeepForResume() const;
    // Connects, uploads files from start (record, when given, follows the files verified) and
    // ends as a sent order under login.
    TOrderOutcome SendOrder(
        const QStringList& files, const TUploadStart& start, TUnfinishedOrder* record, const QString& login);
    bool Upload(const QStringList& files, const TUploadStart& start, TUnfinishedOrder* record);
    // A resumed order's figures: the sources' size and the photo count from its metadata file;
    // the raw sizes are not known any more.
    void TakeFiguresFromMetadata(const QString& metadataPath);

    TVDImage& project_;
    const TEngine& engine_;
    const TFormats& formats_;
    const TOrderCustomer customer_;
    TOrderRunListener& listener_;
    TOrder order_;
    THistory history_;
    TFtpClient ftp_;
    bool kept_ = false; // the order's folder stays for the next start
    bool markHistory_ = true; // the history entry is there to be marked sent
};
