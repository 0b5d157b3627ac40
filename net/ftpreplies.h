#pragma once
// Readers of FTP server replies that decide what the client does next: the feature list of
// FEAT (RFC 2389), the answer to REST (RFC 3659) and the size in the answer to SIZE. Replies
// come from the server as they are: any bytes, multi-line or not.
#include <QByteArrayView>

#include <optional>

// What FEAT announced. A server that does not answer FEAT offers none of these.
struct TFtpFeatures {
    bool mlsd = false; // "MLST": machine listings through MLSD
    bool utf8 = false; // "UTF8": names in UTF-8
    bool restStream = false; // "REST STREAM": an upload can go on where it broke
    bool size = false; // "SIZE"
    bool authTls = false; // "AUTH TLS" (or a list naming TLS)
};

// The features of a whole FEAT reply ("211-Features:" ... "211 End"); each feature line is one
// name and its parameters, in any case.
TFtpFeatures ParseFtpFeatures(QByteArrayView reply);

// Whether a reply to "REST offset" lets the next STOR begin at offset: status 350, and where the
// text names a position (its first number), that position is offset.
bool RestReplyAccepted(int status, QByteArrayView reply, qint64 offset);

// The size of a "213 12345" reply to SIZE; nothing for another status or a text that is not one
// decimal number of at most 18 digits.
std::optional<qint64> ParseSizeReply(int status, QByteArrayView reply);
