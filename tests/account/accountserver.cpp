#include "tests/account/accountserver.h"

#include "core/coreobjects.h"
#include "lab/md5.h"
#include "platform/cp1250.h"

#include <QDir>

TAccountServer::TAccountServer(const QStringList& faults)
    : server(faults)
{
    QDir().mkpath(server.Root(QStringLiteral("virtual")));
    engine.host = QStringLiteral("127.0.0.1:%1").arg(server.Port());
    engine.user = TFtpServer::kUser;
    engine.pass = TFtpServer::kPassword;
    engine.virtual_ = QStringLiteral("/virtual");
    config.timout = 5000;
    Core() = { &config, nullptr, nullptr, &engine, &skinner };
}

TAccountServer::~TAccountServer()
{
    Core() = {};
}

void TAccountServer::AddAccount(const QString& id, const QString& description, int sizeMb, const QString& password)
{
    const QString pass = MD5Hex(password.isNull() ? QStringLiteral("none") : password);
    WriteFileBytes(Account(id, QStringLiteral("account_manifest.vds")),
        ToCp1250(
            QStringLiteral("id=%1\r\ndescr=%2\r\nsize=%3\r\npass=%4\r\n").arg(id, description).arg(sizeMb).arg(pass)));
}

QString TAccountServer::Account(const QString& id, const QString& name) const
{
    return server.Root("virtual/" + id + "/" + name);
}
