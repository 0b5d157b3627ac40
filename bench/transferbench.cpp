// The virtual account's transfer window moving one big file over loopback, beside curl moving
// the same file, against the demo lab's FTP server: download, then upload, RUNS times each,
// alternating with curl. While the window works, a timer 5 ms apart measures how long the event
// loop (painting, clicks) was kept waiting, and the progress bar's paints are timed; a last
// download is cancelled half-way through "anuluj" to time the question and the stop.
//   transfer_bench [SIZE_MB [RUNS]]        (run by bench/transfer_vs_curl.sh, offscreen)
#include "account/udotransfer.h"
#include "tests/account/accountserver.h"
#include "tests/support/windowdriver.h"
#include "ui/gradientbutton.h"
#include "ui/gradientprogressbar.h"
#include "ui/umydialog.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QEvent>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <functional>

namespace {

constexpr const char* kAccount = "BENCH001";
constexpr const char* kFile = "bench.bin";

// The longest wait of the event loop while it runs: the largest gap between the ticks of a 5 ms
// timer (its own period included).
class TLoopWatch : public QObject {
public:
    TLoopWatch()
    {
        timer_.setTimerType(Qt::PreciseTimer);
        connect(&timer_, &QTimer::timeout, this, [this] {
            maxGapMs = std::max(maxGapMs, double(clock_.nsecsElapsed()) / 1e6);
            clock_.restart();
        });
        clock_.start();
        timer_.start(5);
    }
    double maxGapMs = 0;

private:
    QTimer timer_;
    QElapsedTimer clock_;
};

// The largest gap between two paints of the progress bar.
class TPaintWatch : public QObject {
public:
    explicit TPaintWatch(QWidget* bar) { bar->installEventFilter(this); }
    double maxGapMs = 0;
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) {
            if (paints++ > 0)
                maxGapMs = std::max(maxGapMs, double(clock_.nsecsElapsed()) / 1e6);
            clock_.restart();
        }
        return false;
    }

private:
    QElapsedTimer clock_;
};

struct TWindowRun {
    double seconds = 0;
    double loopGapMs = 0;
    double paintGapMs = 0;
};

double Median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double Seconds(const QElapsedTimer& timer)
{
    return double(timer.nsecsElapsed()) / 1e9;
}

class TBench {
public:
    explicit TBench(qint64 bytes)
        : bytes_(bytes)
    {
        lab_.AddAccount(QString::fromLatin1(kAccount), QStringLiteral("bench"), 4000);
        lab_.config.timout = 20000;
        source_ = local_.filePath(QStringLiteral("source/") + kFile);
        QDir(local_.path()).mkpath(QStringLiteral("source"));
        QDir(local_.path()).mkpath(QStringLiteral("target"));
        WritePatternFile(source_, bytes);
    }
    bool Started() const { return lab_.server.Started(); }
    // The window's messages and questions, answered at once.
    TDialogAnswers& Answers() { return answers_; }

    TWindowRun WindowDownload(const std::function<void(Tfdotransfer&)>& during = {})
    {
        Prepare(true);
        TWindowRun run;
        OnNextModal([&](QWidget*) {
            window_.epath->setText(local_.filePath(QStringLiteral("target")));
            run = Watched([&] { QTest::mouseClick(window_.bdownload, Qt::LeftButton); }, during);
            window_.reject();
        });
        window_.OpenDownload({ QString::fromLatin1(kFile) }, { bytes_ });
        return run;
    }
    TWindowRun WindowUpload()
    {
        Prepare(false);
        TWindowRun run;
        OnNextModal([&](QWidget*) {
            AnswerNextFileDialog({ source_ });
            QTest::mouseClick(window_.bselect, Qt::LeftButton);
            answers_.Add({ kButtonOk }); // "Rozpocząć wgrywanie ?"
            run = Watched([&] { QTest::mouseClick(window_.bupload, Qt::LeftButton); }, {});
            window_.reject();
        });
        window_.OpenUpload();
        return run;
    }
    double CurlDownload()
    {
        Prepare(true);
        return Curl({ QStringLiteral("-o"), Target(), Url() });
    }
    double CurlUpload()
    {
        Prepare(false);
        return Curl({ QStringLiteral("-T"), source_, Url() });
    }
    // Whether the last transfer left the whole file where it went.
    bool Arrived(bool download) const
    {
        const QString path = download ? Target() : Remote(QString::fromLatin1(kFile));
        QFile file(path);
        return file.size() == bytes_ && Md5(path) == Md5(source_);
    }

private:
    QString Remote(const QString& name = {}) const { return lab_.Account(QString::fromLatin1(kAccount), name); }
    QString Target() const { return local_.filePath(QStringLiteral("target/") + kFile); }
    QString Url() const
    {
        return QStringLiteral("ftp://%1:%2@127.0.0.1:%3/virtual/%4/%5")
            .arg(TFtpServer::kUser, TFtpServer::kPassword)
            .arg(lab_.server.Port())
            .arg(QString::fromLatin1(kAccount), QString::fromLatin1(kFile));
    }
    static QByteArray Md5(const QString& path)
    {
        QFile file(path);
        QCryptographicHash hash(QCryptographicHash::Md5);
        return file.open(QIODevice::ReadOnly) && hash.addData(&file) ? hash.result() : QByteArray();
    }
    // The file only where the transfer starts from, the account's free space restored, and the
    // disk quiet.
    void Prepare(bool download)
    {
        QFile::remove(Target());
        QFile::remove(Remote(QString::fromLatin1(kFile)));
        if (download)
            QFile::copy(source_, Remote(QString::fromLatin1(kFile)));
        window_.SetAccount({ QString::fromLatin1(kAccount), 4000LL << 20, 4000LL << 20 });
        ::sync();
    }
    TWindowRun Watched(const std::function<void()>& click, const std::function<void(Tfdotransfer&)>& during)
    {
        answers_.Add({ kButtonOk }); // the message that closes the run
        TWindowRun run;
        TLoopWatch loop;
        TPaintWatch paints(window_.pb);
        QTimer poke;
        if (during) {
            QObject::connect(&poke, &QTimer::timeout, &poke, [&] { during(window_); });
            poke.start(5);
        }
        QElapsedTimer timer;
        timer.start();
        click();
        run.seconds = Seconds(timer);
        run.loopGapMs = loop.maxGapMs;
        run.paintGapMs = paints.maxGapMs;
        return run;
    }
    static double Curl(const QStringList& arguments)
    {
        QElapsedTimer timer;
        timer.start();
        QProcess curl;
        curl.start(QStringLiteral("curl"), QStringList { QStringLiteral("-s"), QStringLiteral("-S") } + arguments);
        curl.waitForFinished(-1);
        const double seconds = Seconds(timer);
        if (curl.exitCode() != 0)
            std::fprintf(stderr, "transfer_bench: curl failed: %s\n", curl.readAllStandardError().constData());
        return seconds;
    }

    qint64 bytes_;
    QTemporaryDir local_;
    TAccountServer lab_; // the demo lab's FTP server with the account, and the core objects
    Tfdotransfer window_;
    TDialogAnswers answers_;
    QString source_;
};

// A download that the customer cancels when the bar reaches half: how long the question took to
// come up after the click, and how long after "OK" the window was idle again.
void CancelRun(TBench& bench)
{
    QElapsedTimer clock;
    double questionMs = -1;
    bench.Answers().Add({ kButtonOk }); // "OK" to the question
    bench.Answers().SetObserver([&](Tfdialog&) {
        if (questionMs < 0)
            questionMs = double(clock.nsecsElapsed()) / 1e6;
    });
    const TWindowRun run = bench.WindowDownload([&](Tfdotransfer& window) {
        if (!clock.isValid() && window.pb->Position() >= 50) {
            clock.start();
            QTest::mouseClick(window.bcancel, Qt::LeftButton);
        }
    });
    const double stoppedMs = double(clock.nsecsElapsed()) / 1e6 - questionMs;
    std::printf("download cancelled at half: question after %.1f ms, idle %.1f ms after \"OK\", event loop "
                "waited at most %.1f ms (target 100)\n",
        questionMs, stoppedMs, run.loopGapMs);
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    const qint64 megabytes = argc > 1 ? QByteArray(argv[1]).toLongLong() : 200;
    const int runs = std::max(1, argc > 2 ? QByteArray(argv[2]).toInt() : 3);
    TBench bench(megabytes << 20);
    if (!bench.Started()) {
        std::fprintf(stderr, "transfer_bench: the demo lab did not start\n");
        return 1;
    }
    for (const bool download : { true, false }) {
        QList<double> window, curl;
        double loopGap = 0, paintGap = 0;
        for (int i = 0; i < runs; ++i) {
            const TWindowRun run = download ? bench.WindowDownload() : bench.WindowUpload();
            if (!bench.Arrived(download)) {
                std::fprintf(stderr, "transfer_bench: the window's transfer did not arrive whole\n");
                return 1;
            }
            window << run.seconds;
            loopGap = std::max(loopGap, run.loopGapMs);
            paintGap = std::max(paintGap, run.paintGapMs);
            curl << (download ? bench.CurlDownload() : bench.CurlUpload());
            if (!bench.Arrived(download)) {
                std::fprintf(stderr, "transfer_bench: curl's transfer did not arrive whole\n");
                return 1;
            }
            std::printf("%s run %d: window %.3f s, curl %.3f s\n", download ? "download" : "upload", i + 1,
                window.last(), curl.last());
        }
        std::printf("%s of %lld MB: window %.3f s, curl %.3f s (medians of %d), ratio %.2f (target 1.20); "
                    "event loop waited at most %.1f ms, bar repainted at most %.1f ms apart (target 100)\n",
            download ? "download" : "upload", megabytes, Median(window), Median(curl), runs,
            Median(window) / Median(curl), loopGap, paintGap);
    }
    CancelRun(bench);
    return 0;
}
