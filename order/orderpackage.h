#pragma once
// TOrder: the package of one order in a private folder. Its steps run in this order
// (the order run calls them, order/orderrun.h): InitOrder, RenderOrderPhotos, PackOrder (when
// the lab wants a ZIP), WriteMetadata, and CleanupOrder after every order, sent or not. A step
// that fails sets failed and returns the message the customer is to see; nothing here shows it.
#include "order/metadata.h"

#include <QImage>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>

class THistory;
class TVDImage;

// A step's outcome; message (for an error dialog) only when !ok.
struct TOrderStep {
    bool ok = true;
    QString message;
};

// What the window shows while the steps run; every call comes on the caller's thread and
// each may be empty.
struct TOrderListener {
    std::function<void()> refreshStats; // sizes, counts and times of the order changed
    std::function<void(const QImage&)> showRendered; // the photo just rendered, for the preview
    std::function<void(int percent)> progress;
    std::function<void(const QString&)> timeLeft; // estimated time left, "nieznany." at the end
};

inline constexpr int64_t kUnknownSize = -1;

class TOrder {
public:
    // Milliseconds of a monotonic clock.
    static int64_t Tick();

    // Begins a new order: no ID or folder, rendered sizes and counters 0, not failed, startTick
    // now (InitOrder measures the sources; CleanupOrder empties orderFiles).
    void Reset();

    // The order ID by the lab's "orderid" rule, the sizes of the sources, the private folder
    // (OrdersFolder() + "/VDOTMP." + 8 hexadecimal digits, mode 0700, in the per-user data
    // folder so that an unfinished order outlives the program, order/unfinishedorder.h) and a
    // new history entry. A lab's order-ID script is asked in a local event loop.
    TOrderStep InitOrder(const TVDImage& project, const QString& orderIdRule, THistory& history);
    // Every photo rendered and saved as orderId + "_" + 5-digit number + ".jpg", in project
    // order into orderFiles, with its thumbnail added to history. Refused before anything is
    // rendered when a photo's print sheet cannot be made. Waits in a local event loop while
    // the photos are rendered (order/orderrender.h).
    TOrderStep RenderOrderPhotos(
        const TVDImage& project, int outputDpi, THistory& history, const TOrderListener& listener);
    // orderId + "_pack.zip" of the rendered files; orderSize becomes its size (-1 when it
    // could not be written: the upload then fails). Its failures are logged, not shown.
    // Waits in a local event loop while the archive is written.
    void PackOrder(const TOrderListener& listener);
    // orderId + "_metadata.txt", appended to orderFiles.
    TOrderStep WriteMetadata(TVDImage& project, const TEngine& engine, const TFormats& formats,
        const TOrderCustomer& customer, const QDateTime& now = QDateTime::currentDateTime());
    // The history entry takes the metadata lines, saves its last page and is written.
    void RecordHistory(THistory& history) const;
    // After a successful upload: the entry is marked as sent and written again.
    static void MarkSent(THistory& history);
    // Deletes every file of orderFiles and the order's folder.
    void CleanupOrder();
    // What the upload sends, the metadata file last: the ZIP and the metadata when the order
    // was packed, else every file of orderFiles.
    QStringList FilesToSend(bool packed) const;

    QString orderId;
    QString orderDir;
    QStringList orderFiles; // rendered photos, then the ZIP, then the metadata file
    QStringList metadataLines; // as written by WriteMetadata
    // Sizes in bytes; kUnknownSize where an order finished after a restart cannot know them.
    int64_t origSize = 0; // the photos' source files (a missing one counts -1)
    int64_t sourceRaw = 0; // width x height x bytes per pixel of the sources
    int64_t orderSize = 0; // the rendered files, or the ZIP
    int64_t orderRawSize = 0; // width x height x 3 of the rendered photos
    int photosDone = 0;
    int64_t startTick = 0;
    int64_t renderStartTick = 0;
    bool failed = false;

private:
    TOrderStep Fail(const QString& message);
    QString ZipPath() const;
    QString MetadataPath() const;
};
