#include "tests/support/realproxies.h"

#include "tests/support/demolab.h"
#include "tests/support/testsupport.h"

#include <QElapsedTimer>
#include <QFile>
#include <QThread>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// Whether something accepts connections on the loopback port within timeoutMs.
bool Listening(int port, int timeoutMs)
{
    QElapsedTimer timer;
    timer.start();
    sockaddr_in address {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(quint16(port));
    while (timer.elapsed() < timeoutMs) {
        const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
        const bool connected = ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
        ::close(fd);
        if (connected)
            return true;
        QThread::msleep(50);
    }
    return false;
}

} // namespace

TRealProxy::TRealProxy(const QString& program, const QString& configText, const QStringList& arguments)
    : installed_(QFile::exists(program))
    , port_(FreeLoopbackPort())
{
    if (!installed_ || !dir_.isValid())
        return;
    const QString config = dir_.filePath(QStringLiteral("proxy.conf"));
    WriteFileBytes(config,
        QString(configText)
            .replace(QStringLiteral("{port}"), QString::number(port_))
            .replace(QStringLiteral("{log}"), dir_.filePath(QStringLiteral("proxy.log")))
            .toUtf8());
    process_.setProcessChannelMode(QProcess::MergedChannels);
    process_.start(program, arguments + QStringList { config });
    started_ = process_.waitForStarted() && Listening(port_, 5000);
}

TRealProxy::~TRealProxy()
{
    if (process_.state() == QProcess::NotRunning)
        return;
    process_.terminate();
    if (!process_.waitForFinished(5000))
        process_.kill();
    process_.waitForFinished(2000);
}

std::unique_ptr<TRealProxy> TRealProxy::Tinyproxy(const QString& user, const QString& password)
{
    const QString config
        = QStringLiteral("Port {port}\nListen 127.0.0.1\nTimeout 30\nMaxClients 20\nLogFile \"{log}\"\n"
                         "LogLevel Info\nBasicAuth ")
        + user + u' ' + password + u'\n';
    return std::unique_ptr<TRealProxy>(
        new TRealProxy(QStringLiteral("/usr/bin/tinyproxy"), config, { QStringLiteral("-d"), QStringLiteral("-c") }));
}

std::unique_ptr<TRealProxy> TRealProxy::FtpProxy(int firstSourcePort, int lastSourcePort)
{
    QString config = QStringLiteral("[-Global-]\nServerType standalone\nListen 127.0.0.1\nPort {port}\n"
                                    "DestinationAddress 127.0.0.1\nAllowMagicUser yes\nLogDestination {log}\n");
    if (firstSourcePort > 0)
        config += QStringLiteral("DestinationMinPort %1\nDestinationMaxPort %2\n")
                      .arg(firstSourcePort)
                      .arg(lastSourcePort);
    return std::unique_ptr<TRealProxy>(new TRealProxy(QStringLiteral("/usr/sbin/ftp-proxy"), config,
        { QStringLiteral("-d"), QStringLiteral("-n"), QStringLiteral("-f") }));
}

QString TRealProxy::Log() const
{
    return QString::fromUtf8(ReadFileBytes(dir_.filePath(QStringLiteral("proxy.log"))));
}
