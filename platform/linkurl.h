#pragma once
// The address a link of the program opens. Labs write their pages with or without a scheme
// ("www.lab.pl"); such an address is a web address (http://www.lab.pl), never one relative to
// nothing. A "mailto:" address stays as it is.
#include <QString>
#include <QUrl>

// The link of address (spaces around it ignored); an invalid QUrl when it names nothing.
QUrl LinkUrl(const QString& address);
// What the customer copies when the link cannot be opened: the e-mail address of a "mailto:"
// link, the whole address of any other.
QString LinkCopyText(const QUrl& url);
