#include "net/httpclient.h"

#include "net/tlscontext.h"
#include "platform/cp1250.h"
#include "platform/files.h"

#include <Poco/Exception.h>
#include <Poco/Net/Context.h>
#include <Poco/Net/HTTPBasicCredentials.h>
#include <Poco/Net/HTTPClientSession.h>
#include <Poco/Net/HTTPRequest.h>
#include <Poco/Net/HTTPResponse.h>
#include <Poco/Net/HTTPSClientSession.h>
#include <Poco/Net/NetException.h>
#include <Poco/Net/SocketImpl.h>

#include <QElapsedTimer>
#include <QEventLoop>
#include <QMetaObject>
#include <QObject>
#include <QPointer>
#include <QTimer>

#include <sys/socket.h>

#include <algorithm>
#include <limits>
#include <mutex>
#include <thread>
#include <vector>

namespace {

constexpr const char* kAccept = "text/html, */*";
constexpr const char* kUserAgent = "Mozilla/3.0 (compatible; Indy Library)";
constexpr int kProgressIntervalMs = 50;

struct ParsedUrl {
    bool valid = false;
    bool https = false;
    std::string host;
    quint16 port = 0;
    QString rest; // path, query; never the fragment
};

ParsedUrl ParseUrl(const QString& url)
{
    ParsedUrl parsed;
    const qsizetype schemeEnd = url.indexOf(QLatin1String("://"));
    if (schemeEnd <= 0)
        return parsed;
    const QString scheme = url.left(schemeEnd).toLower();
    if (scheme != QLatin1String("http") && scheme != QLatin1String("https"))
        return parsed;
    parsed.https = scheme == QLatin1String("https");
    QString rest = url.mid(schemeEnd + 3);
    qsizetype authorityEnd = rest.size();
    for (const QChar c : { u'/', u'?', u'#' }) {
        const qsizetype at = rest.indexOf(c);
        if (at >= 0)
            authorityEnd = std::min(authorityEnd, at);
    }
    QString authority = rest.left(authorityEnd);
    parsed.rest = rest.mid(authorityEnd);
    const qsizetype fragment = parsed.rest.indexOf(u'#');
    if (fragment >= 0)
        parsed.rest.truncate(fragment);
    if (parsed.rest.isEmpty() || parsed.rest.front() == u'?')
        parsed.rest.prepend(u'/');
    const qsizetype userInfoEnd = authority.lastIndexOf(u'@');
    if (userInfoEnd >= 0)
        authority = authority.mid(userInfoEnd + 1);

    QString host = authority;
    QString port;
    if (authority.startsWith(u'[')) { // [IPv6]:port
        const qsizetype close = authority.indexOf(u']');
        if (close < 0)
            return parsed;
        host = authority.mid(1, close - 1);
        if (authority.mid(close + 1).startsWith(u':'))
            port = authority.mid(close + 2);
    } else if (const qsizetype colon = authority.lastIndexOf(u':'); colon >= 0) {
        host = authority.left(colon);
        port = authority.mid(colon + 1);
    }
    if (host.isEmpty())
        return parsed;
    parsed.port = parsed.https ? 443 : 80;
    if (!port.isEmpty()) {
        bool ok = false;
        const uint value = port.toUInt(&ok);
        if (!ok || value == 0 || value > 65535)
            return parsed;
        parsed.port = quint16(value);
    }
    parsed.host = host.toStdString();
    parsed.valid = true;
    return parsed;
}

// A session whose socket another thread can shut down to end a blocked call at once.
template <class Session> class InterruptibleSession : public Session {
public:
    using Session::Session;
    void Interrupt()
    {
        const poco_socket_t fd = this->socket().impl()->sockfd();
        if (fd != POCO_INVALID_SOCKET)
            ::shutdown(fd, SHUT_RDWR);
    }
};

} // namespace

// One running request, shared by the caller and its worker thread.
struct THttpClient::Transfer {
    std::mutex lock;
    QPointer<QObject> context; // receives the worker's events; cleared when the caller leaves
    QEventLoop* loop = nullptr;
    std::function<void()> interrupt;
    bool cancelled = false;
    bool done = false;
    THttpResult result;
    QByteArray body;

    // Runs fn on the caller's thread, unless the caller has already left.
    void Post(std::function<void()> fn)
    {
        std::lock_guard guard(lock);
        if (context)
            QMetaObject::invokeMethod(context.data(), std::move(fn), Qt::QueuedConnection);
    }
    void Cancel()
    {
        std::lock_guard guard(lock);
        cancelled = true;
        if (interrupt)
            interrupt();
        if (context)
            QMetaObject::invokeMethod(
                context.data(), [l = loop] { l->quit(); }, Qt::QueuedConnection);
    }
};

struct THttpClient::TransferSet {
    std::mutex lock;
    std::vector<std::weak_ptr<THttpClient::Transfer>> transfers;

    void Add(const std::shared_ptr<THttpClient::Transfer>& transfer)
    {
        std::lock_guard guard(lock);
        std::erase_if(transfers, [](const auto& weak) { return weak.expired(); });
        transfers.push_back(transfer);
    }
};

namespace {

THttpResult Failure(const char* errorClass, const QString& message)
{
    return { false, QString::fromLatin1(errorClass), message };
}

template <class Session>
void RunRequest(Session& session, const ParsedUrl& url, const THttpSettings& settings, THttpClient::Transfer& transfer,
    const THttpWorkListener& listener)
{
    session.setTimeout(Poco::Timespan(Poco::Timespan::TimeDiff(settings.TimeoutMs()) * 1000));
    if (settings.useProxy && !settings.proxyHost.isEmpty()) {
        session.setProxy(settings.proxyHost.toStdString(), quint16(settings.proxyPort));
        if (!settings.proxyUser.isEmpty() || !settings.proxyPassword.isEmpty())
            session.setProxyCredentials(
                ToCp1250(settings.proxyUser).toStdString(), ToCp1250(settings.proxyPassword).toStdString());
    }
    Poco::Net::HTTPRequest request(
        Poco::Net::HTTPRequest::HTTP_GET, HttpRequestTarget(url.rest).toStdString(), Poco::Net::HTTPMessage::HTTP_1_1);
    request.set("Accept", kAccept);
    request.set("User-Agent", kUserAgent);
    if (!settings.user.isEmpty() || !settings.password.isEmpty())
        Poco::Net::HTTPBasicCredentials(
            ToCp1250(settings.user).toStdString(), ToCp1250(settings.password).toStdString())
            .authenticate(request);
    session.sendRequest(request);

    Poco::Net::HTTPResponse response;
    std::istream& in = session.receiveResponse(response);
    in.exceptions(std::ios::badbit); // a socket error while reading the body is an error
    const int status = response.getStatus();
    if (status < 200 || status > 299) {
        std::lock_guard guard(transfer.lock);
        transfer.result = Failure("EHttpStatus",
            QStringLiteral("HTTP/1.1 %1 %2").arg(status).arg(QString::fromStdString(response.getReason())));
        return;
    }
    const qint64 total = response.hasContentLength() ? qint64(response.getContentLength64()) : 0;
    const auto tooLarge = [&transfer, &settings] {
        std::lock_guard guard(transfer.lock);
        transfer.result
            = Failure("EBodyTooLarge", QStringLiteral("Body larger than %1 bytes").arg(settings.maxBodyBytes));
    };
    if (total > settings.maxBodyBytes)
        return tooLarge();
    if (listener.begin)
        transfer.Post([&listener, total] { listener.begin(total); });

    QByteArray body;
    std::vector<char> buffer(64 * 1024);
    QElapsedTimer sinceProgress;
    sinceProgress.start();
    while (in.read(buffer.data(), std::streamsize(buffer.size())) || in.gcount() > 0) {
        if (body.size() + in.gcount() > settings.maxBodyBytes)
            return tooLarge();
        body.append(buffer.data(), qsizetype(in.gcount()));
        if (listener.progress && sinceProgress.elapsed() >= kProgressIntervalMs) {
            sinceProgress.restart();
            transfer.Post([&listener, count = qint64(body.size())] { listener.progress(count); });
        }
    }
    if (listener.progress)
        transfer.Post([&listener, count = qint64(body.size())] { listener.progress(count); });
    if (listener.end)
        transfer.Post([&listener] { listener.end(); });

    std::lock_guard guard(transfer.lock);
    if (response.hasContentLength() && body.size() != total) {
        transfer.result = Failure(
            "EIncompleteBody", QStringLiteral("Connection closed after %1 of %2 bytes").arg(body.size()).arg(total));
        return;
    }
    transfer.body = std::move(body);
    transfer.result = { true, {}, {} };
}

template <class Session, class... Args>
void RunSession(const ParsedUrl& url, const THttpSettings& settings, THttpClient::Transfer& transfer,
    const THttpWorkListener& listener, Args&&... args)
{
    InterruptibleSession<Session> session(url.host, url.port, std::forward<Args>(args)...);
    {
        std::lock_guard guard(transfer.lock);
        if (transfer.cancelled)
            return;
        transfer.interrupt = [&session] { session.Interrupt(); };
    }
    try {
        RunRequest(session, url, settings, transfer, listener);
    } catch (...) {
        std::lock_guard guard(transfer.lock);
        transfer.interrupt = nullptr;
        throw;
    }
    std::lock_guard guard(transfer.lock);
    transfer.interrupt = nullptr;
}

void Work(std::shared_ptr<THttpClient::Transfer> transfer, ParsedUrl url, THttpSettings settings,
    const THttpWorkListener* listener)
{
    THttpResult failure;
    try {
        if (url.https)
            RunSession<Poco::Net::HTTPSClientSession>(url, settings, *transfer, *listener, ClientTlsContext(url.host));
        else
            RunSession<Poco::Net::HTTPClientSession>(url, settings, *transfer, *listener);
    } catch (const Poco::TimeoutException& e) {
        failure = Failure("ETimeout", QString::fromStdString(e.displayText()));
    } catch (const Poco::Net::NetException& e) {
        failure = Failure("EConnection", QString::fromStdString(e.displayText()));
    } catch (const Poco::IOException& e) {
        failure = Failure("EConnection", QString::fromStdString(e.displayText()));
    } catch (const Poco::Exception& e) {
        failure = Failure("ENetwork", QString::fromStdString(e.displayText()));
    } catch (const std::exception& e) {
        failure = Failure("ENetwork", QString::fromLocal8Bit(e.what()));
    }
    std::lock_guard guard(transfer->lock);
    if (!failure.errorClass.isEmpty())
        transfer->result = failure;
    else if (transfer->result.errorClass.isEmpty() && !transfer->result.ok)
        transfer->result = Failure("ECancelled", QStringLiteral("Transfer cancelled"));
    transfer->done = true;
    if (transfer->context)
        QMetaObject::invokeMethod(
            transfer->context.data(), [l = transfer->loop] { l->quit(); }, Qt::QueuedConnection);
}

} // namespace

int THttpSettings::DeadlineMs() const
{
    return int(std::min<qint64>(qint64(TimeoutMs()) * kDeadlineTimeouts, std::numeric_limits<int>::max()));
}

THttpClient::THttpClient()
    : running_(std::make_shared<TransferSet>())
{
}

THttpClient::~THttpClient()
{
    Abort();
}

THttpResult THttpClient::Get(const QString& url, const QString& targetFile, const THttpSettings& settings)
{
    const ParsedUrl parsed = ParseUrl(url);
    if (!parsed.valid)
        return Failure("EUrl", QStringLiteral("Not an http:// or https:// address: ") + url);

    QObject context;
    QEventLoop loop;
    auto transfer = std::make_shared<Transfer>();
    transfer->context = &context;
    transfer->loop = &loop;
    running_->Add(transfer);

    bool overdue = false;
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, &context, [&overdue, transfer] {
        overdue = true;
        transfer->Cancel();
    });
    deadline.start(settings.DeadlineMs());

    // The listener is copied so that a window replacing it during the wait does not pull it
    // from under the worker; the worker only reads it to post events to this thread.
    auto listener = std::make_shared<const THttpWorkListener>(listener_);
    std::thread worker([transfer, parsed, settings, listener] { Work(transfer, parsed, settings, listener.get()); });
    loop.exec();

    bool finished = false;
    {
        std::lock_guard guard(transfer->lock);
        transfer->context = nullptr;
        finished = transfer->done && !transfer->cancelled;
        if (!finished) { // cancelled, or the application is quitting: leave the worker behind
            transfer->cancelled = true;
            if (transfer->interrupt)
                transfer->interrupt();
        }
    }
    if (!finished) {
        worker.detach();
        if (overdue)
            return Failure("ETimeout", QStringLiteral("Transfer not finished within %1 ms").arg(settings.DeadlineMs()));
        return Failure("ECancelled", QStringLiteral("Transfer cancelled"));
    }
    worker.join();
    if (!transfer->result.ok)
        return transfer->result;

    QString error;
    if (!WriteFileAtomically(targetFile, transfer->body, &error))
        return Failure("EWriteFile", error + QStringLiteral(": ") + targetFile);
    return transfer->result;
}

void THttpClient::Abort()
{
    std::vector<std::shared_ptr<Transfer>> transfers;
    {
        std::lock_guard guard(running_->lock);
        for (const auto& weak : running_->transfers)
            if (auto transfer = weak.lock())
                transfers.push_back(std::move(transfer));
    }
    for (const auto& transfer : transfers)
        transfer->Cancel();
}

QByteArray HttpRequestTarget(const QString& url)
{
    const QByteArray bytes = ToCp1250(url);
    QByteArray target;
    target.reserve(bytes.size());
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte <= 0x20 || byte >= 0x7F || c == '"' || c == '<' || c == '>' || c == '\\' || c == '^' || c == '`'
            || c == '{' || c == '|' || c == '}')
            target += '%' + QByteArray::number(byte, 16).toUpper().rightJustified(2, '0');
        else
            target += c;
    }
    return target.isEmpty() ? QByteArray("/") : target;
}
