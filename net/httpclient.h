#pragma once
// The program's HTTP client: one GET of a URL into a file. The request runs on a worker
// thread while the caller waits in a local event loop, so windows keep painting and the
// fetch window's bar moves; work events are delivered on the caller's thread.
#include <QByteArray>
#include <QString>

#include <functional>
#include <memory>

// The largest body any request accepts unless its caller sets a smaller one.
inline constexpr qint64 kMaxDownloadBytes = qint64(256) << 20;
// A whole transfer (connection, answer and body) ends after this many time-outs, so a server
// that trickles its body byte by byte cannot hold the caller for ever.
inline constexpr int kDeadlineTimeouts = 4;

// What one request is sent with.
struct THttpSettings {
    static constexpr int kDefaultTimeoutMs = 30000;

    QString user; // Basic authentication; no header when both are empty
    QString password;
    int readTimeoutMs = kDefaultTimeoutMs; // 0 or less means kDefaultTimeoutMs
    qint64 maxBodyBytes = kMaxDownloadBytes;
    bool useProxy = false;
    QString proxyHost;
    int proxyPort = 0;
    QString proxyUser;
    QString proxyPassword;

    int TimeoutMs() const { return readTimeoutMs > 0 ? readTimeoutMs : kDefaultTimeoutMs; }
    // kDeadlineTimeouts time-outs, at most what a timer can hold.
    int DeadlineMs() const;
};

// The outcome of one request. errorClass names the kind of failure for the log
// ("EHttpStatus", "ETimeout", "EConnection", "EIncompleteBody", "EBodyTooLarge", "ECancelled",
// "EUrl", "EWriteFile", "ENetwork"). A transfer past its deadline fails with "ETimeout".
struct THttpResult {
    bool ok = false;
    QString errorClass;
    QString message;
};

// The listener of work events: begin with the expected byte count (0 when the server did
// not say), progress with the bytes received so far, end.
struct THttpWorkListener {
    std::function<void(qint64 total)> begin;
    std::function<void(qint64 count)> progress;
    std::function<void()> end;
};

class THttpClient {
public:
    THttpClient();
    ~THttpClient();
    THttpClient(const THttpClient&) = delete;
    THttpClient& operator=(const THttpClient&) = delete;

    // Fetches url (http:// or https://, certificates checked against the system's store).
    // Only a 2xx answer with its complete body of at most settings.maxBodyBytes, all within
    // settings.DeadlineMs(), succeeds: redirects and every other status fail. A body
    // announced or growing past the limit ends the transfer at once. On success targetFile
    // holds the body, written through a temporary name and renamed into place; on failure
    // targetFile is left untouched.
    THttpResult Get(const QString& url, const QString& targetFile, const THttpSettings& settings);

    // Ends every running Get at once with ECancelled (any thread).
    void Abort();

    void SetWorkListener(THttpWorkListener listener) { listener_ = std::move(listener); }

    // Shared with the worker threads (defined in the source file).
    struct Transfer;
    struct TransferSet;

private:
    THttpWorkListener listener_;
    std::shared_ptr<TransferSet> running_;
};

// The request target of a URL as sent on the wire: path and query in Windows-1250 with every
// byte outside printable ASCII and every space percent-encoded ("/" when the URL has no path).
QByteArray HttpRequestTarget(const QString& url);
