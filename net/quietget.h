#pragma once
// QuietGetHTTP: the program's one HTTP download. It never shows anything: failures go to the
// log and the caller decides what the user is told.
#include "net/httpclient.h"

#include <QString>

// The process-wide client; the fetch window follows its work events.
THttpClient& HttpClient();

// Downloads url (used unchanged) into targetFile with the lab's credentials (its FTP user and
// the MD5 of its FTP password), the user's read time-out and proxy; a body above maxBytes
// fails. On failure logs "Transfer failed: class:message", deletes targetFile and returns
// false.
bool QuietGetHTTP(const QString& url, const QString& targetFile, qint64 maxBytes = kMaxDownloadBytes);
