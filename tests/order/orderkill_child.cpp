// A customer's program sending an order, to be killed during the upload. argv[1] the program
// folder, argv[2] the lab's FTP port, argv[3] and argv[4] the lab's FTP user and password,
// argv[5] a number of files: once that many are on the server the program prints "holding"
// and waits to be killed (0: it never waits). It makes the
// photos, runs the order (order/orderrun.h) and prints one flushed line for each thing that
// happens: "order ID", "file N" as the upload begins its Nth file, "sent N" once N files are
// on the server, "error TEXT", "outcome K" at the end.
#include "order/orderrun.h"
#include "platform/appdir.h"
#include "tests/order/orderkill.h"

#include <QGuiApplication>

#include <chrono>
#include <cstdio>
#include <thread>

namespace {

void Say(const QString& line)
{
    std::puts(line.toUtf8().constData());
    std::fflush(stdout);
}

class TPrintingListener : public TOrderRunListener {
public:
    explicit TPrintingListener(int holdAfter)
        : holdAfter_(holdAfter)
    {
    }
    void OrderStarted(const TOrder& order) override { Say("order " + order.orderId); }
    void UploadFileStarted(qint64) override { Say(QStringLiteral("file %1").arg(++file_)); }
    void UploadFileSent(int filesSent) override
    {
        Say(QStringLiteral("sent %1").arg(filesSent));
        if (filesSent != holdAfter_)
            return;
        Say(QStringLiteral("holding"));
        for (;;)
            std::this_thread::sleep_for(std::chrono::hours(1));
    }
    void Error(const QString& message) override { Say("error " + message); }
    void Information(const QString& message) override { Say("error " + message); }
    bool Question(const QString&) override { return true; }

private:
    const int holdAfter_;
    int file_ = 0;
};

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    if (argc != 6)
        return 2;
    SetAppDir(QFile::decodeName(argv[1]));
    TProjectFixture f;
    UseKillTestLab(
        f.engine, f.config, QByteArray(argv[2]).toInt(), QString::fromUtf8(argv[3]), QString::fromUtf8(argv[4]));
    for (int i = 0; i < kKillTestPhotos; ++i) {
        if (!f.project->AddPhoto(f.WritePhoto(QStringLiteral("photo%1.jpg").arg(i), 900, 600)))
            return 1;
        f.project->SetFormat(i, KillTestFormat(i + 1));
    }
    TOrderCustomer customer;
    customer.name = "Jan Kowalski";
    customer.payCard = true;
    customer.login = "jan";
    TPrintingListener listener(QByteArray(argv[5]).toInt());
    TOrderRun run(*f.project, f.engine, f.formats, customer, listener);
    Say(QStringLiteral("outcome %1").arg(int(run.Run())));
    return 0;
}
