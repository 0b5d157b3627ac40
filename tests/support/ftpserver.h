#pragma once
// The demo lab's FTP server (pyftpdlib, with its fault switches and its FTP proxy) on a
// scratch folder: the lab's account rooted at ftp/, orders in ftp/orders.
#include "net/ftpclient.h"
#include "tests/support/demolab.h"

#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

class TEngine;

// EXPECT_TRUE(FtpSucceeded(client.Put(...))): a failure prints the error's name and message.
testing::AssertionResult FtpSucceeded(const TFtpResult& result);

class TFtpServer {
public:
    static constexpr const char* kUser = "lab";
    static constexpr const char* kPassword = "tajne";
    static constexpr const char* kProxyUser = "proxy";
    static constexpr const char* kProxyPassword = "proxy";

    explicit TFtpServer(const QStringList& faults = {});
    bool Started() const { return lab_ && lab_->Started(); }
    TDemoLab& Lab() { return *lab_; }
    int Port() const { return lab_->FtpPort(); }
    // A path in the order folder on the server's disk.
    QString Orders(const QString& name = {}) const;
    // A path under the lab account's root folder on the server's disk ("virtual/AB12CD34").
    QString Root(const QString& name = {}) const;
    // What a client needs to reach the server directly: account, 5 s time-out.
    TFtpSettings Settings() const;
    // The lab configuration's server, account and order folder ("/orders") set to this server.
    void PointEngineAt(TEngine& engine) const;
    // The client logged in and in /orders; false (with a test failure) when any step fails.
    bool Open(TFtpClient& client) const;

private:
    QTemporaryDir dir_;
    std::unique_ptr<TDemoLab> lab_;
};

// A file of size bytes (a repeating pattern, so misplaced bytes show) at path.
bool WritePatternFile(const QString& path, qint64 size);
