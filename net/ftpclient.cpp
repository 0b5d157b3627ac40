#include "net/ftpclient.h"

#include "net/httpclient.h"
#include "net/tlscontext.h"
#include "platform/cp1250.h"

#include <Poco/Exception.h>
#include <Poco/Net/FTPClientSession.h>
#include <Poco/Net/NetException.h>
#include <Poco/Net/SSLException.h>
#include <Poco/Net/SecureStreamSocket.h>
#include <Poco/Net/ServerSocket.h>
#include <Poco/Net/SocketAddress.h>
#include <Poco/Net/StreamSocket.h>

#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QMetaObject>
#include <QObject>
#include <QPointer>
#include <QSaveFile>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <csignal>
#include <limits>
#include <thread>
#include <vector>

#include <linux/sockios.h>
#include <openssl/ssl.h>
#include <poll.h>
#include <pthread.h>
#include <sys/ioctl.h>
#include <sys/socket.h>

namespace {

constexpr int kProgressIntervalMs = 50;
// Bytes read from a file and handed to the socket at a time.
constexpr qint64 kChunkBytes = qint64(1) << 20;
// How long Disconnect waits for the answer to QUIT.
constexpr int kQuitWaitMs = 2000;
// How long an interrupted operation may take to notice before its worker is left behind.
constexpr int kGraceMs = 2000;

// A failure raised inside an operation; breaks: the control connection is no longer usable.
struct TFtpFailure {
    TFtpError errorClass;
    QString message;
    bool breaks = false;
};

[[noreturn]] void Fail(TFtpError errorClass, const QString& message, bool breaks = false)
{
    throw TFtpFailure { errorClass, message, breaks };
}

TFtpResult Failure(TFtpError errorClass, const QString& message)
{
    return { false, errorClass, message };
}

Poco::Timespan Milliseconds(int ms)
{
    return Poco::Timespan(Poco::Timespan::TimeDiff(ms) * 1000);
}

// The session with the protected pieces an operation needs made reachable.
class Session : public Poco::Net::FTPClientSession {
public:
    Session(const Poco::Net::StreamSocket& control, int timeoutMs)
        : FTPClientSession(control, false)
    {
        setTimeout(Milliseconds(timeoutMs));
    }
    int ReadReply(std::string& reply) { return _pControlSocket->receiveStatusMessage(reply); }
    Poco::Net::SocketAddress PassiveAddress() { return sendPassiveCommand(); }
    void SendPort(const Poco::Net::SocketAddress& address) { sendPortCommand(address); }
    Poco::Net::IPAddress LocalHost() const { return _pControlSocket->address().host(); }
    Poco::Net::IPAddress PeerHost() const { return _pControlSocket->peerAddress().host(); }
    // The TLS handshake on the control connection (after the server's 234 to AUTH TLS); the
    // server's certificate must be made out to host.
    Poco::Net::SecureStreamSocket Secure(const Poco::Net::Context::Ptr& context, const std::string& host)
    {
        Poco::Net::SecureStreamSocket secure = Poco::Net::SecureStreamSocket::attach(*_pControlSocket, host, context);
        *_pControlSocket = secure;
        return secure;
    }
    // The control connection's TLS session, for a data connection to resume.
    Poco::Net::Session::Ptr TlsSession() const
    {
        Poco::Net::SecureStreamSocket secure(*_pControlSocket);
        return secure.currentSession();
    }
};

// The negotiated protocol of every handshake under a context, kept where the context's
// application data points.
void NoteProtocol(const SSL* ssl, int where, int)
{
    if ((where & SSL_CB_HANDSHAKE_DONE) == 0)
        return;
    if (auto* protocol = static_cast<std::string*>(SSL_CTX_get_app_data(SSL_get_SSL_CTX(ssl))))
        *protocol = SSL_get_version(ssl);
}

void BlockBrokenPipeSignal()
{
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGPIPE);
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
}

int DeadlineFor(int timeoutMs)
{
    return int(std::min<qint64>(qint64(timeoutMs) * kDeadlineTimeouts, std::numeric_limits<int>::max()));
}

bool HoldsLineBreak(const QString& text)
{
    return text.contains(u'\r') || text.contains(u'\n') || text.contains(QChar(0));
}

} // namespace

// The control connection and what the server offers; the running operation's worker is the
// only one to use the session, the fields under lock are also touched by Abort.
struct TFtpClient::Connection {
    std::unique_ptr<Session> session;
    std::atomic<bool> broken { false };
    TFtpFeatures features;
    bool sizeCommand = true; // false once the server said it has no SIZE
    // TLS: the context of the control connection, which its data connections share; the
    // protocol the handshakes negotiated (written by NoteProtocol).
    Poco::Net::Context::Ptr tls;
    std::string tlsProtocol;
    std::string tlsHost; // the name the server's certificates must carry
    TFtpSecurity security;

    std::mutex lock;
    poco_socket_t controlFd = POCO_INVALID_SOCKET;
    poco_socket_t dataFd = POCO_INVALID_SOCKET;
    std::string lastReply;

    void SetControl(poco_socket_t fd)
    {
        std::lock_guard guard(lock);
        controlFd = fd;
    }
    void SetData(poco_socket_t fd)
    {
        std::lock_guard guard(lock);
        dataFd = fd;
    }
    // Shuts the data connection down; false when there is none.
    bool InterruptData()
    {
        std::lock_guard guard(lock);
        if (dataFd == POCO_INVALID_SOCKET)
            return false;
        ::shutdown(dataFd, SHUT_RDWR);
        return true;
    }
    void InterruptAll()
    {
        std::lock_guard guard(lock);
        for (const poco_socket_t fd : { dataFd, controlFd })
            if (fd != POCO_INVALID_SOCKET)
                ::shutdown(fd, SHUT_RDWR);
    }
    void Close()
    {
        {
            std::lock_guard guard(lock);
            controlFd = dataFd = POCO_INVALID_SOCKET;
        }
        session.reset();
    }
    std::string RawReply()
    {
        std::lock_guard guard(lock);
        return lastReply;
    }
    void SetLastReply(const std::string& reply)
    {
        std::lock_guard guard(lock);
        lastReply = reply;
    }
    QString Text(const std::string& bytes) const
    {
        return features.utf8 ? QString::fromStdString(bytes) : FromCp1250(bytes.data(), qsizetype(bytes.size()));
    }
    QString LastReply()
    {
        std::lock_guard guard(lock);
        QString text = Text(lastReply);
        while (text.endsWith(u'\r') || text.endsWith(u'\n'))
            text.chop(1);
        return text;
    }
    std::string Wire(const QString& name) const
    {
        if (HoldsLineBreak(name))
            Fail(TFtpError::Name, QStringLiteral("A name with a line break cannot be sent: ") + name.simplified());
        return (features.utf8 ? name.toUtf8() : ToCp1250(name)).toStdString();
    }
};

// One running operation, shared by the caller and its worker thread.
struct TFtpClient::Operation {
    std::shared_ptr<Connection> connection;
    std::shared_ptr<const TFtpWorkListener> listener;
    std::atomic<qint64> moved { 0 };

    std::mutex lock;
    std::condition_variable finished;
    QPointer<QObject> context; // receives the worker's events; cleared when the caller leaves
    QEventLoop* loop = nullptr;
    bool cancelled = false;
    bool severed = false; // the control connection was shut down
    bool done = false;
    TFtpResult result;
    // The worker's own.
    bool reporting = false; // a transfer with work events has begun
    qint64 base = 0; // where in the file the transfer began: work events count from there
    QElapsedTimer sinceProgress;

    // Runs fn on the caller's thread, unless the caller has already left.
    void Post(std::function<void()> fn)
    {
        std::lock_guard guard(lock);
        if (context)
            QMetaObject::invokeMethod(context.data(), std::move(fn), Qt::QueuedConnection);
    }
    // Work events for a transfer of total bytes (a listing has none; its bytes count only for
    // the deadline).
    void Begin(qint64 total, qint64 from = 0)
    {
        moved = 0;
        base = from;
        reporting = true;
        sinceProgress.start();
        if (listener->begin)
            Post([l = listener, total] { l->begin(total); });
    }
    void Progress(qint64 count)
    {
        moved = count;
        if (reporting && listener->progress && sinceProgress.elapsed() >= kProgressIntervalMs) {
            sinceProgress.restart();
            Post([l = listener, position = base + count] { l->progress(position); });
        }
    }
    void End(qint64 count)
    {
        if (!reporting)
            return;
        if (listener->progress)
            Post([l = listener, position = base + count] { l->progress(position); });
        if (listener->end)
            Post([l = listener] { l->end(); });
    }
    bool Cancelled()
    {
        std::lock_guard guard(lock);
        return cancelled;
    }
    bool Severed()
    {
        std::lock_guard guard(lock);
        return severed;
    }
    // A transfer loses its data connection; anything else, or everything, the whole connection.
    void Cancel(bool everything)
    {
        std::lock_guard guard(lock);
        cancelled = true;
        if (everything || !connection->InterruptData()) {
            severed = true;
            connection->InterruptAll();
        }
    }
    void Finish(TFtpResult outcome)
    {
        std::lock_guard guard(lock);
        result = std::move(outcome);
        done = true;
        finished.notify_all();
        if (context)
            QMetaObject::invokeMethod(
                context.data(), [l = loop] { l->quit(); }, Qt::QueuedConnection);
    }
};

namespace {

using Connection = TFtpClient::Connection;
using Operation = TFtpClient::Operation;

// The status of a reply; a connection that closed instead of answering is a broken one.
int Reply(Connection& c, int status, const std::string& reply)
{
    c.SetLastReply(reply);
    if (status < 100 || status > 599)
        Fail(TFtpError::Connection, QStringLiteral("Connection closed by the server"), true);
    return status;
}

int ReadReply(Connection& c)
{
    std::string reply;
    const int status = c.session->ReadReply(reply);
    return Reply(c, status, reply);
}

int Command(Connection& c, const std::string& command, const std::string& arg = {})
{
    std::string reply;
    const int status
        = arg.empty() ? c.session->sendCommand(command, reply) : c.session->sendCommand(command, arg, reply);
    return Reply(c, status, reply);
}

// A reply of the expected class (1, 2 or 3) or an EFtpReply failure naming what was refused.
void Expect(Connection& c, int status, int expectedClass, const QString& what)
{
    if (status / 100 != expectedClass)
        Fail(TFtpError::FtpReply, what + QStringLiteral(": ") + c.LastReply());
}

// The data connection of one transfer, reachable by Abort while it is open.
class DataConnection {
public:
    explicit DataConnection(Connection& c)
        : c_(c)
    {
    }
    ~DataConnection() { Close(); }
    DataConnection(const DataConnection&) = delete;
    DataConnection& operator=(const DataConnection&) = delete;

    // Opens the data connection the settings ask for and sends command, which the server must
    // accept with a preliminary reply. Under TLS the connection is passive (a router cannot
    // rewrite an encrypted PORT command), and after that reply (servers begin their side of the
    // handshake only then) it resumes the control connection's TLS session.
    void Open(const TFtpSettings& settings, const std::string& command, const std::string& arg, const QString& what)
    {
        const Poco::Timespan timeout = Milliseconds(settings.TimeoutMs());
        if (settings.passive || c_.security.control) {
            // Only the port of the server's answer counts: the data connection goes to the host
            // of the control connection, never to an address the server names (a server behind
            // a router names its inner address; a hostile one, a third host).
            const Poco::Net::SocketAddress address(c_.session->PeerHost(), c_.session->PassiveAddress().port());
            socket_.connect(address, timeout);
            c_.SetData(socket_.impl()->sockfd());
            Expect(c_, Command(c_, command, arg), 1, what);
        } else {
            server_ = Poco::Net::ServerSocket(Poco::Net::SocketAddress(c_.session->LocalHost(), 0), 1);
            c_.SetData(server_.impl()->sockfd());
            c_.session->SendPort(server_.address());
            Expect(c_, Command(c_, command, arg), 1, what);
            if (!server_.poll(timeout, Poco::Net::Socket::SELECT_READ))
                Fail(TFtpError::Timeout, QStringLiteral("The server opened no data connection"), true);
            socket_ = server_.acceptConnection();
            c_.SetData(socket_.impl()->sockfd());
            server_.close();
        }
        socket_.setReceiveTimeout(timeout);
        socket_.setSendTimeout(timeout);
        if (c_.security.data) {
            Poco::Net::SecureStreamSocket secure
                = Poco::Net::SecureStreamSocket::attach(socket_, c_.tlsHost, c_.tls, c_.session->TlsSession());
            c_.security.dataSessionReused = secure.sessionWasReused();
            socket_ = secure;
        }
    }
    Poco::Net::StreamSocket& Socket() { return socket_; }
    // After an upload's last byte: waits (at most timeoutMs) until the server has acknowledged
    // every byte and reads what it sent meanwhile (a TLS server's session tickets). Closing a
    // socket with unread bytes resets the connection, which throws away what is still unsent.
    void Flush(int timeoutMs)
    {
        const poco_socket_t fd = socket_.impl()->sockfd();
        QElapsedTimer waited;
        waited.start();
        int unsent = 0;
        while (::ioctl(fd, SIOCOUTQ, &unsent) == 0 && unsent > 0 && waited.elapsed() < timeoutMs) {
            pollfd event { fd, POLLERR | POLLHUP, 0 };
            if (::poll(&event, 1, 2) > 0)
                break; // reset or shut down: nothing more will leave
        }
        char discard[4096];
        while (::recv(fd, discard, sizeof discard, MSG_DONTWAIT) > 0) { }
    }
    // Closes the connection: for an upload, the server's end of the file.
    void Close()
    {
        c_.SetData(POCO_INVALID_SOCKET);
        try {
            socket_.close();
            server_.close();
        } catch (const Poco::Exception&) {
            // closing a socket that never opened
        }
    }

private:
    Connection& c_;
    Poco::Net::StreamSocket socket_;
    Poco::Net::ServerSocket server_;
};

void SendAll(Poco::Net::StreamSocket& socket, const char* data, qint64 size)
{
    while (size > 0) {
        const int sent
            = socket.sendBytes(data, int(std::min<qint64>(size, std::numeric_limits<int>::max())), MSG_NOSIGNAL);
        if (sent <= 0)
            throw Poco::Net::ConnectionResetException();
        data += sent;
        size -= sent;
    }
}

// After a data connection broke: the server's reply to the transfer keeps the control
// connection in step; then the failure (or the cancellation that caused it).
[[noreturn]] void FailBrokenTransfer(Connection& c, Operation& op, DataConnection& data, const QString& what)
{
    data.Close();
    ReadReply(c);
    if (op.Cancelled())
        Fail(TFtpError::Cancelled, QStringLiteral("Transfer cancelled"));
    Fail(TFtpError::DataConnection, what);
}

// SIZE of a file: nothing when the server has no SIZE command (remembered) or refuses it
// (status tells why).
std::optional<qint64> RemoteSize(Connection& c, const std::string& name, int* status = nullptr)
{
    if (!c.sizeCommand)
        return std::nullopt;
    const int answer = Command(c, "SIZE", name);
    if (status)
        *status = answer;
    if (answer == 500 || answer == 502 || answer == 504) {
        c.sizeCommand = false;
        return std::nullopt;
    }
    const std::string reply = c.RawReply();
    return ParseSizeReply(answer, QByteArrayView(reply.data(), qsizetype(reply.size())));
}

TFtpResult ConnectWork(Connection& c, const TFtpSettings& settings)
{
    const bool viaProxy = settings.useProxy && settings.proxyType != int(TFtpProxyType::None);
    if (settings.useProxy && (settings.proxyType < 0 || settings.proxyType > int(TFtpProxyType::UserPass)))
        Fail(TFtpError::ProxyType, QStringLiteral("FTP proxy type %1 not supported").arg(settings.proxyType));
    const QString host = viaProxy ? settings.proxyHost : settings.host;
    const int port = viaProxy ? settings.proxyPort : settings.port;
    if (host.isEmpty() || port < 1 || port > 65535)
        Fail(TFtpError::Connection,
            QStringLiteral("No server to connect to (\"%1\", port %2)").arg(host, QString::number(port)));
    const Poco::Net::SocketAddress address(host.toStdString(), quint16(port));
    Poco::Net::StreamSocket socket;
    socket.connect(address, Milliseconds(settings.TimeoutMs()));
    socket.setNoDelay(true);
    socket.setSendTimeout(Milliseconds(settings.TimeoutMs()));
    c.session = std::make_unique<Session>(socket, settings.TimeoutMs());
    c.SetControl(socket.impl()->sockfd());
    Expect(c, ReadReply(c), 2, QStringLiteral("Server refused the connection"));
    return { true, {}, {} };
}

void UserPass(Connection& c, const QString& user, const QString& password)
{
    int status = Command(c, "USER", ToCp1250(user).toStdString());
    if (status / 100 == 3)
        status = Command(c, "PASS", ToCp1250(password).toStdString());
    Expect(c, status, 2, QStringLiteral("Login denied"));
}

void LearnFeatures(Connection& c)
{
    if (Command(c, "FEAT") / 100 != 2)
        return;
    const std::string reply = c.RawReply();
    c.features = ParseFtpFeatures(QByteArrayView(reply.data(), qsizetype(reply.size())));
    if (c.features.utf8)
        Command(c, "OPTS", "UTF8 ON"); // servers that speak UTF-8 anyway may refuse it
}

// A connection that may not go on in plain text: closed without another word.
[[noreturn]] void FailInsecure(Connection& c, TFtpError errorClass, const QString& why)
{
    c.security = {};
    Fail(errorClass, why, true);
}

// With tls set, plain text from here on is either refused or, with tls 1, noted.
void GoOnInPlainText(Connection& c, const TFtpSettings& settings, TFtpError errorClass, const QString& why)
{
    if (settings.tls == TFtpTls::Required)
        FailInsecure(c, errorClass, why);
    if (settings.tls == TFtpTls::WhenOffered && c.security.plainReason.isEmpty())
        c.security.plainReason = why;
}

// AUTH TLS and the handshake on the control connection, before anything else is sent.
void StartTls(Connection& c, const TFtpSettings& settings)
{
    if (settings.tls == TFtpTls::Plain)
        return;
    const int status = Command(c, "AUTH", "TLS");
    if (status / 100 != 2) {
        GoOnInPlainText(
            c, settings, TFtpError::TlsRequired, QStringLiteral("The server offers no TLS: ") + c.LastReply());
        return;
    }
    c.tls = ClientTlsContext(settings.host.toStdString());
    c.tlsHost = settings.host.toStdString();
    SSL_CTX_set_app_data(c.tls->sslContext(), &c.tlsProtocol);
    SSL_CTX_set_info_callback(c.tls->sslContext(), NoteProtocol);
    Poco::Net::SecureStreamSocket secure = c.session->Secure(c.tls, c.tlsHost);
    c.security.control = true;
    c.security.protocol = QString::fromStdString(c.tlsProtocol);
    c.security.subject = QString::fromStdString(secure.peerCertificate().subjectName());
}

// PBSZ 0 and PROT P after the login: the data connections are protected too.
void ProtectData(Connection& c, const TFtpSettings& settings)
{
    if (!c.security.control)
        return;
    if (Command(c, "PBSZ", "0") / 100 == 2 && Command(c, "PROT", "P") / 100 == 2) {
        c.security.data = true;
        return;
    }
    GoOnInPlainText(c, settings, TFtpError::TlsRequired,
        QStringLiteral("The server refuses protected data connections: ") + c.LastReply());
}

TFtpResult LoginWork(Connection& c, const TFtpSettings& settings)
{
    const QString host = settings.HostForProxy();
    const QString noTlsThroughProxy
        = QStringLiteral("The proxy login method %1 names the server in USER, so the proxy itself would answer "
                         "AUTH TLS: it cannot carry TLS to the server")
              .arg(settings.proxyType);
    c.security = {};
    switch (settings.useProxy ? TFtpProxyType(settings.proxyType) : TFtpProxyType::None) {
    case TFtpProxyType::None:
        StartTls(c, settings);
        UserPass(c, settings.user, settings.password);
        break;
    case TFtpProxyType::UserSite:
        if (settings.tls != TFtpTls::Plain)
            GoOnInPlainText(c, settings, TFtpError::TlsProxy, noTlsThroughProxy);
        UserPass(c, settings.user + u'@' + host, settings.password);
        break;
    case TFtpProxyType::Site:
        UserPass(c, settings.proxyUser, settings.proxyPassword);
        Expect(c, Command(c, "SITE", ToCp1250(host).toStdString()), 2, QStringLiteral("Proxy refused SITE"));
        StartTls(c, settings);
        UserPass(c, settings.user, settings.password);
        break;
    case TFtpProxyType::Open:
        Expect(c, Command(c, "OPEN", ToCp1250(host).toStdString()), 2, QStringLiteral("Proxy refused OPEN"));
        StartTls(c, settings);
        UserPass(c, settings.user, settings.password);
        break;
    case TFtpProxyType::UserPass:
        if (settings.tls != TFtpTls::Plain)
            GoOnInPlainText(c, settings, TFtpError::TlsProxy, noTlsThroughProxy);
        UserPass(c, settings.user + u'@' + settings.proxyUser + u'@' + host,
            settings.password + u'@' + settings.proxyPassword);
        break;
    }
    ProtectData(c, settings);
    Expect(c, Command(c, "TYPE", "I"), 2, QStringLiteral("Cannot set binary mode"));
    LearnFeatures(c);
    return { true, {}, {} };
}

// Closes the data connection (for an upload, the end of the file), checks the server's reply
// to the transfer and ends the work events.
void FinishTransfer(Connection& c, Operation& op, DataConnection& data, const QString& what, qint64 moved)
{
    data.Close();
    const int status = ReadReply(c);
    if (status == 426) // the server's side of the data connection broke
        Fail(TFtpError::DataConnection, what + QStringLiteral(" broken: ") + c.LastReply());
    Expect(c, status, 2, what + QStringLiteral(" not completed"));
    op.End(moved);
    if (op.Cancelled())
        Fail(TFtpError::Cancelled, QStringLiteral("Transfer cancelled"));
}

// Hands every block the server sends to take until the server closes the data connection;
// take returns an error to end the transfer with, or nothing.
void ReceiveAll(Connection& c, Operation& op, DataConnection& data, const QString& what,
    const std::function<QString(const char*, int)>& take)
{
    std::vector<char> buffer(kChunkBytes);
    qint64 received = 0;
    for (;;) {
        int count = 0;
        try {
            count = data.Socket().receiveBytes(buffer.data(), int(buffer.size()));
        } catch (const Poco::Exception& e) {
            FailBrokenTransfer(c, op, data,
                QStringLiteral("Data connection lost after %1 bytes: %2")
                    .arg(received)
                    .arg(QString::fromStdString(e.displayText())));
        }
        if (count <= 0)
            break;
        if (const QString error = take(buffer.data(), count); !error.isEmpty())
            FailBrokenTransfer(c, op, data, error);
        received += count;
        op.Progress(received);
    }
    FinishTransfer(c, op, data, what, received);
}

// REST offset before the STOR of a resumed upload.
void Restart(Connection& c, const QString& remoteName, qint64 offset)
{
    const int status = Command(c, "REST", std::to_string(offset));
    const std::string reply = c.RawReply();
    if (!RestReplyAccepted(status, QByteArrayView(reply.data(), qsizetype(reply.size())), offset))
        Fail(TFtpError::ResumeRefused,
            QStringLiteral("Cannot resume %1 at %2: %3").arg(remoteName).arg(offset).arg(c.LastReply()));
}

// The STOR of an upload; one that begins at offset is refused as a whole with EResumeRefused,
// after the restart marker has been taken back.
void OpenUpload(Connection& c, DataConnection& data, const TFtpSettings& settings, const std::string& name,
    const QString& what, qint64 offset)
{
    if (offset == 0)
        return data.Open(settings, "STOR", name, what + QStringLiteral(" refused"));
    Restart(c, QString::fromStdString(name), offset);
    try {
        data.Open(settings, "STOR", name, what + QStringLiteral(" refused"));
    } catch (const TFtpFailure& failure) {
        if (failure.breaks || failure.errorClass != TFtpError::FtpReply)
            throw;
        Command(c, "REST", "0");
        Fail(TFtpError::ResumeRefused, failure.message);
    }
}

TFtpResult PutWork(Connection& c, Operation& op, const TFtpSettings& settings, const QString& localPath,
    const QString& remoteName, qint64 offset)
{
    const std::string name = c.Wire(remoteName);
    QFile file(localPath);
    if (!file.open(QIODevice::ReadOnly))
        Fail(TFtpError::File, QStringLiteral("Cannot open %1: %2").arg(localPath, file.errorString()));
    const qint64 total = file.size();
    if (offset < 0 || offset > total || !file.seek(offset))
        Fail(
            TFtpError::File, QStringLiteral("Cannot begin %1 at %2 of %3 bytes").arg(localPath).arg(offset).arg(total));
    const QString what = QStringLiteral("Upload of ") + remoteName;
    DataConnection data(c);
    OpenUpload(c, data, settings, name, what, offset);
    op.Begin(total, offset);
    std::vector<char> buffer(kChunkBytes);
    qint64 sent = 0;
    for (;;) {
        const qint64 read = file.read(buffer.data(), qint64(buffer.size()));
        if (read < 0)
            FailBrokenTransfer(c, op, data,
                QStringLiteral("Cannot read %1 after %2 bytes: %3")
                    .arg(localPath, QString::number(sent), file.errorString()));
        if (read == 0)
            break;
        try {
            SendAll(data.Socket(), buffer.data(), read);
        } catch (const Poco::Exception& e) {
            FailBrokenTransfer(c, op, data,
                QStringLiteral("Data connection lost after %1 of %2 bytes: %3")
                    .arg(offset + sent)
                    .arg(total)
                    .arg(QString::fromStdString(e.displayText())));
        }
        sent += read;
        op.Progress(sent);
    }
    data.Flush(settings.TimeoutMs());
    FinishTransfer(c, op, data, what, sent);
    return { true, {}, {} };
}

TFtpResult GetWork(
    Connection& c, Operation& op, const TFtpSettings& settings, const QString& remoteName, const QString& localPath)
{
    const std::string name = c.Wire(remoteName);
    QSaveFile target(localPath);
    if (!target.open(QIODevice::WriteOnly))
        Fail(TFtpError::File, QStringLiteral("Cannot write %1: %2").arg(localPath, target.errorString()));
    const qint64 total = RemoteSize(c, name).value_or(0);
    const QString what = QStringLiteral("Download of ") + remoteName;
    DataConnection data(c);
    data.Open(settings, "RETR", name, what + QStringLiteral(" refused"));
    op.Begin(total);
    ReceiveAll(c, op, data, what, [&](const char* block, int count) {
        return target.write(block, count) == count
            ? QString()
            : QStringLiteral("Cannot write %1: %2").arg(localPath, target.errorString());
    });
    if (!target.commit())
        Fail(TFtpError::File, QStringLiteral("Cannot write %1: %2").arg(localPath, target.errorString()));
    return { true, {}, {} };
}

TFtpResult ListWork(Connection& c, Operation& op, const TFtpSettings& settings, QList<TFtpListItem>& items)
{
    DataConnection data(c);
    data.Open(settings, c.features.mlsd ? "MLSD" : "LIST", {}, QStringLiteral("Listing refused"));
    QByteArray listing;
    ReceiveAll(c, op, data, QStringLiteral("Listing"), [&listing](const char* block, int count) {
        if (listing.size() + count > kMaxListingBytes)
            return QStringLiteral("Listing larger than %1 bytes").arg(kMaxListingBytes);
        listing.append(block, count);
        return QString();
    });
    items = ParseFtpListing(listing, c.features.mlsd ? TFtpListingKind::Mlsd : TFtpListingKind::List, c.features.utf8);
    return { true, {}, {} };
}

TFtpResult SizeWork(Connection& c, const QString& remoteName, std::optional<qint64>& size)
{
    const std::string name = c.Wire(remoteName);
    int status = 0;
    size = RemoteSize(c, name, &status);
    if (!size && c.sizeCommand) {
        Expect(c, status, 2, QStringLiteral("Cannot get the size of ") + remoteName);
        Fail(TFtpError::FtpReply, QStringLiteral("Size of %1 not understood: %2").arg(remoteName, c.LastReply()));
    }
    return { true, {}, {} };
}

TFtpResult Execute(const TFtpClient::Work& work, Operation& op)
{
    BlockBrokenPipeSignal();
    Connection& c = *op.connection;
    TFtpResult result;
    bool breaks = true;
    try {
        result = work(c, op);
        breaks = false;
    } catch (const TFtpFailure& failure) {
        result = Failure(failure.errorClass, failure.message);
        breaks = failure.breaks;
    } catch (const Poco::TimeoutException& e) {
        result = Failure(TFtpError::Timeout, QString::fromStdString(e.displayText()));
    } catch (const Poco::Net::SSLException& e) { // the handshake, the certificate or the TLS layer
        result = Failure(TFtpError::Tls, QString::fromStdString(e.displayText()));
        c.security = {};
    } catch (const Poco::Net::FTPException& e) { // a refused PASV, EPSV, PORT or EPRT
        result = Failure(TFtpError::FtpReply, QString::fromStdString(e.displayText()));
    } catch (const Poco::IOException& e) { // Poco::Net::NetException among them
        result = Failure(TFtpError::Connection, QString::fromStdString(e.displayText()));
    } catch (const Poco::Exception& e) {
        result = Failure(TFtpError::Network, QString::fromStdString(e.displayText()));
    } catch (const std::exception& e) {
        result = Failure(TFtpError::Network, QString::fromLocal8Bit(e.what()));
    }
    if (breaks || op.Severed())
        c.broken = true;
    if (op.Cancelled())
        result = Failure(TFtpError::Cancelled, QStringLiteral("Operation cancelled"));
    return result;
}

} // namespace

int TFtpSettings::DeadlineMs() const
{
    return DeadlineFor(TimeoutMs());
}

QString TFtpSettings::HostForProxy() const
{
    return port == kDefaultPort ? host : host + u':' + QString::number(port);
}

QString FtpErrorName(TFtpError error)
{
    switch (error) {
    case TFtpError::None:
        return QStringLiteral("");
    case TFtpError::FtpReply:
        return QStringLiteral("EFtpReply");
    case TFtpError::DataConnection:
        return QStringLiteral("EDataConnection");
    case TFtpError::Cancelled:
        return QStringLiteral("ECancelled");
    case TFtpError::NotConnected:
        return QStringLiteral("ENotConnected");
    case TFtpError::Busy:
        return QStringLiteral("EBusy");
    case TFtpError::File:
        return QStringLiteral("EFile");
    case TFtpError::Name:
        return QStringLiteral("EName");
    case TFtpError::ProxyType:
        return QStringLiteral("EProxyType");
    case TFtpError::ResumeRefused:
        return QStringLiteral("EResumeRefused");
    case TFtpError::Timeout:
        return QStringLiteral("ETimeout");
    case TFtpError::Connection:
        return QStringLiteral("EConnection");
    case TFtpError::Network:
        return QStringLiteral("ENetwork");
    case TFtpError::Tls:
        return QStringLiteral("ETls");
    case TFtpError::TlsRequired:
        return QStringLiteral("ETlsRequired");
    case TFtpError::TlsProxy:
        return QStringLiteral("ETlsProxy");
    case TFtpError::NotReady:
        return QStringLiteral("ENotReady");
    case TFtpError::SizeMismatch:
        return QStringLiteral("ESizeMismatch");
    }
    return {};
}

bool IsTlsFailure(TFtpError error)
{
    return error == TFtpError::Tls || error == TFtpError::TlsRequired || error == TFtpError::TlsProxy;
}

TFtpClient::TFtpClient() = default;

TFtpClient::~TFtpClient()
{
    Abort();
    DropConnection();
}

TFtpResult TFtpClient::Run(Work work, bool needsConnection, int timeoutMs)
{
    if (needsConnection && !Connected())
        return Failure(TFtpError::NotConnected, QStringLiteral("Not connected"));
    if (Busy())
        return Failure(TFtpError::Busy, QStringLiteral("Another operation is running"));

    QObject context;
    QEventLoop loop;
    auto op = std::make_shared<Operation>();
    op->connection = connection_;
    op->listener = std::make_shared<const TFtpWorkListener>(listener_);
    op->context = &context;
    op->loop = &loop;
    connection_->SetLastReply({});
    {
        std::lock_guard guard(runningLock_);
        running_ = op;
    }

    // The deadline: a transfer that moved enough since the last look gets another period.
    bool overdue = false;
    qint64 movedAtLastLook = 0;
    const int deadlineMs = DeadlineFor(timeoutMs);
    QTimer grace;
    grace.setSingleShot(true);
    QObject::connect(&grace, &QTimer::timeout, &loop, &QEventLoop::quit);
    QTimer deadline;
    QObject::connect(&deadline, &QTimer::timeout, &context, [&] {
        const qint64 moved = op->moved;
        if (moved - movedAtLastLook >= kDeadlineProgressBytes) {
            movedAtLastLook = moved;
            return;
        }
        overdue = true;
        deadline.stop();
        op->Cancel(true);
        grace.start(kGraceMs);
    });
    deadline.start(deadlineMs);

    std::thread worker([op, work = std::move(work)] { op->Finish(Execute(work, *op)); });
    loop.exec();

    bool finished = false;
    {
        std::unique_lock guard(op->lock);
        op->context = nullptr;
        if (!op->done) { // the application is quitting, or the worker did not notice in time
            guard.unlock();
            op->Cancel(true);
            guard.lock();
            op->finished.wait_for(guard, std::chrono::milliseconds(kGraceMs), [&op] { return op->done; });
        }
        finished = op->done;
    }
    {
        std::lock_guard guard(runningLock_);
        running_.reset();
    }
    if (!finished) {
        worker.detach(); // it keeps its own reference to the connection, which is given up
        connection_.reset();
        return overdue
            ? Failure(TFtpError::Timeout, QStringLiteral("Operation not finished within %1 ms").arg(deadlineMs))
            : Failure(TFtpError::Cancelled, QStringLiteral("Operation cancelled"));
    }
    worker.join();
    lastReply_ = connection_->LastReply();
    features_ = connection_->features;
    security_ = connection_->security;
    TFtpResult result = op->result;
    if (overdue)
        result = Failure(TFtpError::Timeout, QStringLiteral("Operation not finished within %1 ms").arg(deadlineMs));
    if (connection_->broken)
        DropConnection();
    return result;
}

bool TFtpClient::Busy() const
{
    std::lock_guard guard(runningLock_);
    return !running_.expired();
}

void TFtpClient::DropConnection()
{
    if (connection_)
        connection_->Close();
    connection_.reset();
}

TFtpResult TFtpClient::Connect()
{
    if (Busy())
        return Failure(TFtpError::Busy, QStringLiteral("Another operation is running"));
    DropConnection();
    connection_ = std::make_shared<Connection>();
    const TFtpSettings settings = settings_;
    TFtpResult result
        = Run([settings](Connection& c, Operation&) { return ConnectWork(c, settings); }, false, settings.TimeoutMs());
    if (!result.ok)
        DropConnection();
    return result;
}

TFtpResult TFtpClient::Login()
{
    const TFtpSettings settings = settings_;
    return Run([settings](Connection& c, Operation&) { return LoginWork(c, settings); }, true, settings.TimeoutMs());
}

TFtpResult TFtpClient::RunCommand(const char* command, const QString& name, const QString& refusal)
{
    return Run(
        [command, name, refusal](Connection& c, Operation&) {
            Expect(c, Command(c, command, c.Wire(name)), 2, refusal + name);
            return TFtpResult { true, {}, {} };
        },
        true, settings_.TimeoutMs());
}

TFtpResult TFtpClient::ChangeDir(const QString& folder)
{
    return RunCommand("CWD", folder, QStringLiteral("Cannot change directory to "));
}

TFtpResult TFtpClient::Put(const QString& localPath, const QString& remoteName, qint64 offset)
{
    const TFtpSettings settings = settings_;
    return Run([settings, localPath, remoteName, offset](
                   Connection& c, Operation& op) { return PutWork(c, op, settings, localPath, remoteName, offset); },
        true, settings.TimeoutMs());
}

TFtpResult TFtpClient::Get(const QString& remoteName, const QString& localPath)
{
    const TFtpSettings settings = settings_;
    return Run([settings, localPath, remoteName](
                   Connection& c, Operation& op) { return GetWork(c, op, settings, remoteName, localPath); },
        true, settings.TimeoutMs());
}

TFtpResult TFtpClient::Delete(const QString& remoteName)
{
    return RunCommand("DELE", remoteName, QStringLiteral("Cannot delete "));
}

TFtpResult TFtpClient::Size(const QString& remoteName, std::optional<qint64>* size)
{
    auto answer = std::make_shared<std::optional<qint64>>();
    const TFtpResult result
        = Run([remoteName, answer](Connection& c, Operation&) { return SizeWork(c, remoteName, *answer); }, true,
            settings_.TimeoutMs());
    *size = result.ok ? *answer : std::nullopt;
    return result;
}

TFtpResult TFtpClient::List(QList<TFtpListItem>* items)
{
    const TFtpSettings settings = settings_;
    auto listing = std::make_shared<QList<TFtpListItem>>();
    const TFtpResult result
        = Run([settings, listing](Connection& c, Operation& op) { return ListWork(c, op, settings, *listing); }, true,
            settings.TimeoutMs());
    *items = result.ok ? *listing : QList<TFtpListItem> {};
    return result;
}

void TFtpClient::Abort()
{
    std::shared_ptr<Operation> op;
    {
        std::lock_guard guard(runningLock_);
        op = running_.lock();
    }
    if (op)
        op->Cancel(false);
}

void TFtpClient::Disconnect()
{
    if (Busy())
        return;
    if (!Connected()) {
        DropConnection();
        return;
    }
    const int waitMs = std::min(settings_.TimeoutMs(), kQuitWaitMs);
    Run(
        [waitMs](Connection& c, Operation&) {
            c.session->setTimeout(Milliseconds(waitMs));
            Command(c, "QUIT");
            return TFtpResult { true, {}, {} };
        },
        true, waitMs);
    DropConnection();
}

bool TFtpClient::Connected() const
{
    return connection_ && connection_->session && !connection_->broken;
}

QString TFtpClient::LastReply() const
{
    return lastReply_;
}
