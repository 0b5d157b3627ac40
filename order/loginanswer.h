#pragma once
// The lab's login script: the request address and its answer. The answer is text lines in
// Windows-1250: a line "ok" (any case, spaces around) marks a successful login, "key=value"
// lines carry the customer's data (keys in any case, the value after the first "=").
#include "order/customerdata.h"

#include <QByteArray>
#include <QString>

struct TLoginAnswer {
    bool loggedIn = false;
    TCustomerData customer; // name, city, street, phone, email, nip, company
    QString errormsg;
};

// Reads an answer into answer: loggedIn and errormsg start over, the data values are replaced
// only by the keys the answer holds. An unknown key is logged "got invalid value name \"key\" !"
// at level 2 and the rest is still read.
void ParseLoginAnswer(const QByteArray& body, TLoginAnswer& answer);

// ParseLoginAnswer of a file; a file that cannot be read leaves loggedIn false.
void ReadLoginAnswer(const QString& path, TLoginAnswer& answer);

// script + "?u=" + the user name percent-encoded (its Windows-1250 bytes, so "&", "#", "+" and
// spaces reach the script as typed) + "&p=" + the MD5 of the password: the password never
// leaves the computer.
QString LoginUrl(const QString& script, const QString& user, const QString& password);

// A successful login as the send-order window takes it: the user name sent and the answer.
struct TLogin {
    QString user;
    TLoginAnswer answer;
};
