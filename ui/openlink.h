#pragma once
// The one way the program opens a link: a lab's page, the post-order page, an e-mail address.
#include <QString>

// Opens address (see LinkUrl: "www.lab.pl" is a web address, "mailto:" + e-mail a message)
// with the desktop's browser or mail program. When none can be started, the failure is logged
// and a warning shows the address as text the customer can select and copy; false then. An
// address that names nothing opens nothing (logged, false).
bool OpenLink(const QString& address);
