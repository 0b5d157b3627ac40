#pragma once
// The program's FTP client (Poco::Net::FTPClientSession underneath). Each operation runs on a
// worker thread while the caller waits in a local event loop, so windows keep painting; work
// events are delivered on the caller's thread. Every failure is an error result with a message
// for the log: no exception leaves, and no operation outlives its time-outs.
#include "net/ftplisting.h"
#include "net/ftpreplies.h"

#include <QList>
#include <QString>

#include <functional>
#include <memory>
#include <mutex>
#include <optional>

// The FTP proxy login methods, by the index the user's configuration stores.
enum class TFtpProxyType {
    None = 0, // connect to the FTP host directly
    UserSite = 1, // USER user@host through the proxy
    Site = 2, // log in to the proxy, then SITE host
    Open = 3, // OPEN host through the proxy
    UserPass = 4, // USER user@proxyuser@host, PASS pass@proxypass
};

// FTP over TLS (explicit, RFC 4217), by the lab's "tls" setting.
enum class TFtpTls {
    Plain = 0, // nothing protected
    WhenOffered = 1, // TLS when the server answers AUTH TLS, else plain
    Required = 2, // TLS or nothing: no command after AUTH TLS goes out in clear
};

struct TFtpSettings {
    static constexpr int kDefaultTimeoutMs = 30000;
    static constexpr int kDefaultPort = 21;

    QString host;
    int port = kDefaultPort;
    QString user;
    QString password;
    int readTimeoutMs = kDefaultTimeoutMs; // 0 or less means kDefaultTimeoutMs
    bool passive = false;
    bool useProxy = false; // the proxy fields count only when set
    QString proxyHost;
    int proxyPort = 0;
    QString proxyUser;
    QString proxyPassword;
    int proxyType = 0; // a TFtpProxyType; other values fail at Connect
    TFtpTls tls = TFtpTls::Plain;

    int TimeoutMs() const { return readTimeoutMs > 0 ? readTimeoutMs : kDefaultTimeoutMs; }
    // An operation that moves no data ends after this long (kDeadlineTimeouts time-outs, see
    // net/httpclient.h); a transfer gets a fresh deadline for every kDeadlineProgressBytes it
    // moves, so a large file on a slow line finishes and a server trickling bytes does not.
    int DeadlineMs() const;
    // The host as the proxy login methods name it: "host", or "host:port" off port 21.
    QString HostForProxy() const;
};

inline constexpr qint64 kDeadlineProgressBytes = qint64(64) << 10;
// The largest listing the client reads.
inline constexpr qint64 kMaxListingBytes = qint64(16) << 20;

// The kind of a failed operation. After FtpReply (the server refused the command),
// DataConnection (a transfer's data connection broke or its listing was too large), Cancelled,
// NotConnected, Busy (called from a work event of another operation), File (local file), Name
// (a name that cannot be sent), ProxyType and ResumeRefused (the server would not begin an
// upload past its start) the connection is as it was; after Timeout, Connection, Network, Tls
// (the TLS handshake or the server's certificate failed), TlsRequired (TLS required, the server
// offers none or refuses protected data connections) and TlsProxy (TLS required, the proxy
// login method cannot carry it) it is closed. Nothing is sent after a TLS failure, not even
// QUIT. NotReady: no lab or user configuration to connect with; SizeMismatch: an uploaded file
// has another size on the server (the order's upload checks it).
enum class TFtpError {
    None,
    FtpReply,
    DataConnection,
    Cancelled,
    NotConnected,
    Busy,
    File,
    Name,
    ProxyType,
    ResumeRefused,
    Timeout,
    Connection,
    Network,
    Tls,
    TlsRequired,
    TlsProxy,
    NotReady,
    SizeMismatch,
};

// The kind's name in the log and in test reports: "EFtpReply", "ETimeout", ...
QString FtpErrorName(TFtpError error);
// Tls, TlsRequired or TlsProxy: TLS stopped the operation.
bool IsTlsFailure(TFtpError error);

// The outcome of one operation.
struct TFtpResult {
    bool ok = false;
    TFtpError errorClass = TFtpError::None;
    QString message;
};

// What protects the connection, as the last Login made it.
struct TFtpSecurity {
    bool control = false; // the control connection runs under TLS
    bool data = false; // data connections run under TLS (PROT P)
    QString protocol; // "TLSv1.3"; empty without TLS
    QString subject; // the subject of the server's certificate
    // The last data connection resumed the control connection's TLS session.
    bool dataSessionReused = false;
    // Why a connection with tls 1 went on in plain text (empty when it did not).
    QString plainReason;
};

// Work events of transfers: begin with the expected byte count (0 when unknown), progress
// with the bytes moved so far (true counts), end.
struct TFtpWorkListener {
    std::function<void(qint64 total)> begin;
    std::function<void(qint64 count)> progress;
    std::function<void()> end;
};

class TFtpClient {
public:
    TFtpClient();
    ~TFtpClient();
    TFtpClient(const TFtpClient&) = delete;
    TFtpClient& operator=(const TFtpClient&) = delete;

    // What the next Connect and Login use; the values stay between connections.
    TFtpSettings& Settings() { return settings_; }
    const TFtpSettings& Settings() const { return settings_; }

    // Opens the control connection (to the proxy when one is used) and reads the greeting;
    // an open connection is closed first.
    TFtpResult Connect();
    // Logs in by the proxy type's method, then binary mode; learns from FEAT whether the
    // server offers MLSD, UTF-8 names (without UTF8, names travel in Windows-1250) and REST
    // STREAM. With tls set, AUTH TLS comes before the login (after SITE or OPEN with those proxy
    // methods), and PBSZ 0 and PROT P after it; data connections are then passive and reuse the
    // control connection's TLS session, as servers that guard their data connections demand.
    TFtpResult Login();
    TFtpResult ChangeDir(const QString& folder);
    // Uploads localPath as remoteName, replacing a remote file of that name. From an offset
    // above 0 only the rest of the file goes, after "REST offset", onto the remote file's first
    // offset bytes; a server that refuses that fails with EResumeRefused. Work events count the
    // position in the file, so resumed bytes are counted once.
    TFtpResult Put(const QString& localPath, const QString& remoteName, qint64 offset = 0);
    // Downloads remoteName into localPath through a temporary file in the same folder that
    // replaces localPath only when the whole file arrived; nothing else is written.
    TFtpResult Get(const QString& remoteName, const QString& localPath);
    TFtpResult Delete(const QString& remoteName);
    // The remote file's size in bytes; ok with no size when the server has no SIZE command.
    TFtpResult Size(const QString& remoteName, std::optional<qint64>* size);
    // The current folder's items: MLSD when the server offers it, else LIST.
    TFtpResult List(QList<TFtpListItem>* items);
    // Ends the running operation (any thread): a transfer closes its data connection and the
    // control connection stays usable; any other operation closes the connection. The
    // operation returns ECancelled.
    void Abort();
    // Says QUIT (briefly waiting for the answer) and closes the connection; never fails.
    void Disconnect();
    bool Connected() const;
    // The server's reply to the last command of the last operation ("550 No such file"),
    // empty when that operation got none.
    QString LastReply() const;
    // What the server announced and how the connection was protected at the last Login; kept
    // after Disconnect.
    const TFtpFeatures& Features() const { return features_; }
    const TFtpSecurity& Security() const { return security_; }

    void SetWorkListener(TFtpWorkListener listener) { listener_ = std::move(listener); }
    const TFtpWorkListener& WorkListener() const { return listener_; }

    // Shared with the worker threads (defined in the source file).
    struct Connection;
    struct Operation;
    using Work = std::function<TFtpResult(Connection&, Operation&)>;

private:
    TFtpResult Run(Work work, bool needsConnection, int timeoutMs);
    // command with name as its argument, refused unless the server answers 2xx.
    TFtpResult RunCommand(const char* command, const QString& name, const QString& refusal);
    // An operation is running: a work event's handler called the client again.
    bool Busy() const;
    void DropConnection();

    TFtpSettings settings_;
    TFtpWorkListener listener_;
    std::shared_ptr<Connection> connection_;
    QString lastReply_;
    TFtpFeatures features_;
    TFtpSecurity security_;
    mutable std::mutex runningLock_;
    std::weak_ptr<Operation> running_;
};
