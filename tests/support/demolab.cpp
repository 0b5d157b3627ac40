#include "tests/support/demolab.h"

#include <QElapsedTimer>
#include <QRegularExpression>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

TDemoLab::TDemoLab(const QString& folder, const QStringList& switches)
{
    QStringList args { QStringLiteral(VENDARO_SOURCE_DIR "/tools/demo-lab/serve.py"), folder };
    if (!switches.contains(QLatin1String("--http-port")))
        args << QStringLiteral("--http-port") << QStringLiteral("0");
    if (!switches.contains(QLatin1String("--ftp-port")))
        args << QStringLiteral("--ftp-port") << QStringLiteral("0");
    args << switches;
    process_.setProcessChannelMode(QProcess::MergedChannels);
    process_.start(QStringLiteral("/usr/bin/python3"), args);
    static const QRegularExpression ready(QStringLiteral("READY http=(\\d+) ftp=(\\d+) ftpproxy=(\\d+)"));
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 15000 && process_.state() != QProcess::NotRunning) {
        process_.waitForReadyRead(100);
        const QRegularExpressionMatch match = ready.match(Output());
        if (match.hasMatch()) {
            httpPort_ = match.captured(1).toInt();
            ftpPort_ = match.captured(2).toInt();
            ftpProxyPort_ = match.captured(3).toInt();
            return;
        }
    }
}

TDemoLab::~TDemoLab()
{
    if (process_.state() != QProcess::NotRunning) {
        process_.terminate();
        if (!process_.waitForFinished(5000))
            process_.kill();
        process_.waitForFinished(2000);
    }
}

QString TDemoLab::Url(const QString& path) const
{
    return QStringLiteral("http://127.0.0.1:%1%2").arg(httpPort_).arg(path);
}

QString TDemoLab::Output()
{
    output_ += QString::fromUtf8(process_.readAll());
    return output_;
}

bool TDemoLab::WaitForOutput(const QString& text, int timeoutMs, int times)
{
    QElapsedTimer timer;
    timer.start();
    while (Output().count(text) < times) {
        if (timer.elapsed() > timeoutMs || process_.state() == QProcess::NotRunning)
            return false;
        process_.waitForReadyRead(50);
    }
    return true;
}

int BindLoopback(int fd)
{
    sockaddr_in address {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0
        && ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0)
        return ntohs(address.sin_port);
    return 0;
}

int FreeLoopbackPort()
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    const int port = BindLoopback(fd);
    ::close(fd);
    return port;
}

TRefusingPort::TRefusingPort()
    : fd_(::socket(AF_INET, SOCK_STREAM, 0))
    , port_(BindLoopback(fd_))
{
}

TRefusingPort::~TRefusingPort()
{
    ::close(fd_);
}
