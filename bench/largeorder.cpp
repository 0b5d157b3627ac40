// An order of more than 4 GiB through the order run, as the send-order window runs it: PHOTOS
// photos of random noise printed as 30 x 45 posters (3602 x 5398 at quality 100, some 16 MB
// each), packed into one ZIP when PACK is 1, sent to the lab's FTP server at 127.0.0.1:PORT
// into "/orders". It prints the order's ID, the time of each step, the order's size and the
// outcome; bench/large_order.sh runs it against the demo lab and checks the order there.
//   large_order_bench PROGRAM_FOLDER PORT USER PASSWORD PACK PHOTOS
#include "bench/offscreen.h"
#include "imaging/jpegsave.h"
#include "order/orderrun.h"
#include "platform/appdir.h"
#include "tests/project/projectfixture.h"

#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>

#include <cstdio>
#include <filesystem>
#include <random>

namespace {

void Say(const QString& line)
{
    std::puts(line.toUtf8().constData());
    std::fflush(stdout);
}

// Every channel of every pixel drawn at random: nothing the JPEG encoder can save.
QImage NoisePicture(int width, int height)
{
    QImage picture(width, height, QImage::Format_RGB888);
    std::mt19937 random(7);
    for (int y = 0; y < height; ++y) {
        uchar* row = picture.scanLine(y);
        for (int x = 0; x < width * 3; ++x)
            row[x] = uchar(random());
    }
    return picture;
}

// Each step's text with the seconds since the run began; the order's ID and size as they come.
class TTimingListener : public TOrderRunListener {
public:
    TTimingListener() { timer_.start(); }
    void StatusChanged(const QString& status) override
    {
        Say(QStringLiteral("%1 s  %2").arg(Seconds(), 8).arg(status));
    }
    void OrderStarted(const TOrder& order) override { Say("order " + order.orderId); }
    void StatsChanged(const TOrder& order) override { size_ = order.orderSize; }
    void UploadStarted() override { Say(QStringLiteral("%1 s  upload of %2 bytes").arg(Seconds(), 8).arg(size_)); }
    void UploadRetrying(const QString& notice) override { Say(QStringLiteral("retry: %1").arg(notice)); }
    void UploadFinished(bool sent) override
    {
        Say(QStringLiteral("%1 s  upload %2").arg(Seconds(), 8).arg(sent ? "sent" : "stopped"));
    }
    void Error(const QString& message) override { Say("error " + message); }
    void Information(const QString& message) override { Say("error " + message); }
    bool Question(const QString&) override { return false; }

private:
    QString Seconds() const { return QString::number(double(timer_.nsecsElapsed()) / 1e9, 'f', 1); }

    QElapsedTimer timer_;
    qint64 size_ = 0;
};

} // namespace

int main(int argc, char** argv)
{
    PreferOffscreenPlatform();
    QGuiApplication app(argc, argv);
    if (argc != 7) {
        std::fprintf(stderr, "usage: large_order_bench PROGRAM_FOLDER PORT USER PASSWORD PACK PHOTOS\n");
        return 2;
    }
    SetAppDir(QFile::decodeName(argv[1]));
    TProjectFixture f;
    f.engine.host = QStringLiteral("127.0.0.1:%1").arg(argv[2]);
    f.engine.user = QString::fromUtf8(argv[3]);
    f.engine.pass = QString::fromUtf8(argv[4]);
    f.engine.orderpath = "/orders";
    f.engine.orderid = "%data8%";
    f.engine.pack = QByteArray(argv[5]) == "1";
    f.config.timout = 30000;

    // One poster-sized file under a name per photo (hard links): the project sees distinct files
    // while the disk holds the picture once.
    const QString first = f.PhotoPath("noise0.jpg");
    if (!SaveJpeg(NoisePicture(3602, 5398), first, 100))
        return 1;
    const int photos = QByteArray(argv[6]).toInt();
    QElapsedTimer adding;
    adding.start();
    for (int i = 0; i < photos; ++i) {
        const QString path = f.PhotoPath(QStringLiteral("noise%1.jpg").arg(i));
        std::error_code error;
        if (i > 0)
            std::filesystem::create_hard_link(
                QFile::encodeName(first).constData(), QFile::encodeName(path).constData(), error);
        if (error || !f.project->AddPhoto(path))
            return 1;
        f.project->SetFormat(i, kFormat30x45);
    }
    Say(QStringLiteral("added %1 photos in %2 s").arg(photos).arg(double(adding.nsecsElapsed()) / 1e9, 0, 'f', 1));

    TOrderCustomer customer;
    customer.name = "Jan Kowalski";
    customer.payCard = true;
    TTimingListener listener;
    const TOrderOutcome outcome = TOrderRun(*f.project, f.engine, f.formats, customer, listener).Run();
    Say(QStringLiteral("outcome %1").arg(outcome == TOrderOutcome::Sent ? "sent" : "not sent"));
    return outcome == TOrderOutcome::Sent ? 0 : 1;
}
