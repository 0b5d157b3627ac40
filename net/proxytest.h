#pragma once
// The settings window's proxy test: the maker's web page fetched through the HTTP proxy, then
// the lab's FTP server reached through the same proxy with each FTP proxy login method in turn
// until one connects, logs in and lists. Window-free: the window shows what the listener reports
// and disables its controls while a test runs.
#include <QString>

#include <functional>
#include <optional>

// What the user typed on the connection page.
struct TProxyTestInput {
    QString host;
    QString port; // as typed: a text that is not a whole number is refused
    QString login;
    QString password;
};

// The proxy's address as the connection page's host and port fields hold it, read the one way
// that the test and "OK" share: both trimmed (a host of spaces is no host), the port a whole
// number from 1 to 65535 (a larger one would reach the socket cut to 16 bits).
struct TProxyAddress {
    QString host;
    QString portText;
    std::optional<int> port; // none when portText is no port
};
TProxyAddress ReadProxyAddress(const QString& host, const QString& port);

// What the window shows while the test runs; every member may be empty. The line setters
// take the new text of lproxy_http / lproxy_ftp (an empty text empties the label); error and
// information are messages for fdialog(), in the order they arise.
struct TProxyTestListener {
    std::function<void(const QString&)> httpLine;
    std::function<void(const QString&)> ftpLine;
    std::function<void(const QString&)> error;
    std::function<void(const QString&)> information;
};

struct TProxyTestResult {
    bool tested = false; // the proxy counts as tested (OK may store it); false changes nothing
    int ftpMode = -1; // the FTP proxy login method that worked (0 to 4), -1 when none
};

// Runs the test. The lab's FTP host and account come from Core().engine (no FTP test without
// one); the maker's page is the build setting VENDARO_MAKER_PAGE unless makerPage is given.
// The FTP login method that works is also stored in Core().config's proxy_ftp_type at once.
// Both clients wait in local event loops: the window keeps painting while the test runs.
TProxyTestResult RunProxyTest(
    const TProxyTestInput& input, const TProxyTestListener& listener, const QString& makerPage = {});
