#pragma once
// The demo lab's FTP server with a virtual-account folder, and the core objects the account
// windows read (the lab's FTP account and "virtual" folder, the user's configuration).
#include "core/core.h"
#include "lab/vdengine.h"
#include "skin/skinner.h"
#include "tests/support/ftpserver.h"
#include "tests/support/testsupport.h"

#include <QStringList>

#include <cstdint>

class TAccountServer {
public:
    explicit TAccountServer(const QStringList& faults = {});
    ~TAccountServer();

    // An account folder with its manifest: pass is the MD5 of password, or of "none" when
    // password is null.
    void AddAccount(const QString& id, const QString& description, int sizeMb, const QString& password = {});
    // The account's folder (or a file in it) on the server's disk.
    QString Account(const QString& id, const QString& name = {}) const;

    ScopedAppDir app;
    TFtpServer server;
    TConfig config;
    TEngine engine;
    TSkinner skinner;
};
