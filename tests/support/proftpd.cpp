#include "tests/support/proftpd.h"

#include "tests/support/demolab.h"
#include "tests/support/ftpserver.h"
#include "tests/support/testsupport.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QThread>

#include <arpa/inet.h>
#include <grp.h>
#include <netinet/in.h>
#include <pwd.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

constexpr const char* kProftpd = "/usr/sbin/proftpd";

// The account's line of an AuthUserFile: the user's password hashed by openssl's crypt, the
// running user's ids (root needs RootLogin), the folder as its home.
QByteArray AccountLine(const QString& home)
{
    QProcess openssl;
    openssl.start(QStringLiteral("openssl"), { "passwd", "-6", QString::fromLatin1(TFtpServer::kPassword) });
    if (!openssl.waitForFinished(30000) || openssl.exitCode() != 0)
        return {};
    return QByteArray(TFtpServer::kUser) + ':' + openssl.readAllStandardOutput().trimmed() + ':'
        + QByteArray::number(getuid()) + ':' + QByteArray::number(getgid()) + "::" + home.toLocal8Bit()
        + ":/bin/false\n";
}

bool Accepts(int port)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address {};
    address.sin_family = AF_INET;
    address.sin_port = htons(quint16(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const bool accepted = fd >= 0 && ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    if (fd >= 0)
        ::close(fd);
    return accepted;
}

} // namespace

TProftpd::TProftpd()
{
    installed_ = QFileInfo::exists(QString::fromLatin1(kProftpd));
    if (!installed_ || !MakeTestCertificates(dir_.path(), certificates_))
        return;
    const QDir dir(dir_.path());
    dir.mkpath(QStringLiteral("root"));
    const QByteArray account = AccountLine(dir.filePath("root"));
    if (account.isEmpty() || !WriteFileBytes(dir.filePath("passwd"), account))
        return;
    QFile::setPermissions(dir.filePath("passwd"), QFile::ReadOwner | QFile::WriteOwner);
    port_ = FreeLoopbackPort();
    const passwd* user = getpwuid(getuid());
    const group* grp = getgrgid(getgid());
    const QString config = QStringLiteral("ServerType standalone\n"
                                          "DefaultAddress 127.0.0.1\n"
                                          "SocketBindTight on\n"
                                          "Port %1\n"
                                          "User %2\n"
                                          "Group %3\n"
                                          "RootLogin on\n"
                                          "UseIPv6 off\n"
                                          "UseReverseDNS off\n"
                                          "WtmpLog off\n"
                                          "DelayTable none\n"
                                          "TransferLog none\n"
                                          "ScoreboardFile %4/scoreboard\n"
                                          "PidFile %4/proftpd.pid\n"
                                          "SystemLog %4/system.log\n"
                                          "AuthOrder mod_auth_file.c\n"
                                          "AuthUserFile %4/passwd\n"
                                          "RequireValidShell off\n"
                                          "DefaultRoot ~\n"
                                          "AllowOverwrite on\n"
                                          "AllowStoreRestart on\n"
                                          "ModulePath /usr/lib/proftpd\n"
                                          "LoadModule mod_tls.c\n"
                                          "TLSEngine on\n"
                                          "TLSRequired on\n"
                                          "TLSProtocol TLSv1.2 TLSv1.3\n"
                                          "TLSRSACertificateFile %4/server.crt\n"
                                          "TLSRSACertificateKeyFile %4/server.key\n"
                                          "TLSVerifyClient off\n"
                                          "TLSLog %4/tls.log\n")
                               .arg(port_)
                               .arg(QString::fromLocal8Bit(user ? user->pw_name : "root"),
                                   QString::fromLocal8Bit(grp ? grp->gr_name : "root"), dir_.path());
    if (!WriteFileBytes(dir.filePath("proftpd.conf"), config.toUtf8()))
        return;
    process_.setProcessChannelMode(QProcess::MergedChannels);
    process_.start(QString::fromLatin1(kProftpd), { "-n", "-c", dir.filePath("proftpd.conf") });
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < 10000 && process_.state() != QProcess::NotRunning && !started_) {
        started_ = Accepts(port_);
        if (!started_)
            QThread::msleep(50);
    }
}

TProftpd::~TProftpd()
{
    if (process_.state() != QProcess::NotRunning) {
        process_.terminate();
        if (!process_.waitForFinished(5000))
            process_.kill();
        process_.waitForFinished(2000);
    }
}

QString TProftpd::Root(const QString& name) const
{
    return dir_.filePath("root/" + name);
}

TFtpSettings TProftpd::Settings() const
{
    TFtpSettings settings;
    settings.host = QStringLiteral("127.0.0.1");
    settings.port = port_;
    settings.user = QString::fromLatin1(TFtpServer::kUser);
    settings.password = QString::fromLatin1(TFtpServer::kPassword);
    settings.readTimeoutMs = 5000;
    settings.tls = TFtpTls::Required;
    return settings;
}

QString TProftpd::TlsLog() const
{
    QFile log(dir_.filePath("tls.log"));
    return log.open(QIODevice::ReadOnly) ? QString::fromUtf8(log.readAll()) : QString();
}
