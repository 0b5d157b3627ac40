// Sends an order's files to an FTP server the way the send-order window does (ConnectFtp, then
// UploadOrder with its SIZE checks and a listener that takes every progress call as the window
// does: the figures, the bar's percent and the time left) and prints the seconds it took and,
// on stderr, how many progress calls came. bench/upload_vs_curl.sh runs it beside curl against
// the demo lab.
//   upload_bench HOST:PORT USER PASSWORD FOLDER FILE...
#include "core/core.h"
#include "core/coreobjects.h"
#include "lab/vdengine.h"
#include "net/ftpclient.h"
#include "net/ftpconnect.h"
#include "order/orderupload.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 6) {
        std::fprintf(stderr, "usage: upload_bench HOST:PORT USER PASSWORD FOLDER FILE...\n");
        return 2;
    }
    TEngine engine;
    engine.host = args[1];
    engine.user = args[2];
    engine.pass = args[3];
    TConfig config;
    config.passive = true;
    Core().engine = &engine;
    Core().config = &config;

    QElapsedTimer timer;
    timer.start();
    TFtpClient client;
    const TFtpConnectResult connected = ConnectFtp(client, args[4]);
    // What the window keeps of each call: the bar's percent, the time left and the figures.
    int percent = 0, calls = 0, filesSent = 0;
    QString timeLeft;
    TUploadListener listener;
    listener.progress = [&](const TUploadProgress& progress) {
        ++calls;
        percent = progress.percent;
        timeLeft = progress.timeLeft;
    };
    listener.fileSent = [&](int files, qint64) { filesSent = files; };
    const TUploadResult upload = connected.ok ? UploadOrder(client, args.mid(5), args[4], listener) : TUploadResult {};
    const double seconds = double(timer.nsecsElapsed()) / 1e9;
    Core().engine = nullptr;
    Core().config = nullptr;
    if (!upload.sent) {
        std::fprintf(stderr, "upload_bench: the order was not sent (%d failures)\n", upload.failures);
        return 1;
    }
    std::printf("%.3f\n", seconds);
    std::fprintf(stderr, "upload_bench: %d progress calls, %d files, bar at %d %%, last time left \"%s\"\n", calls,
        filesSent, percent, qPrintable(timeLeft));
    return 0;
}
