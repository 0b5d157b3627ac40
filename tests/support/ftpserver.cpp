#include "tests/support/ftpserver.h"

#include "lab/vdengine.h"
#include "tests/support/testsupport.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

testing::AssertionResult FtpSucceeded(const TFtpResult& result)
{
    if (result.ok)
        return testing::AssertionSuccess();
    return testing::AssertionFailure() << FtpErrorName(result.errorClass).toStdString() << ": "
                                       << result.message.toStdString();
}

TFtpServer::TFtpServer(const QStringList& faults)
{
    QDir(dir_.path()).mkpath(QStringLiteral("ftp/orders"));
    WriteFileBytes(dir_.filePath("serve.json"),
        QStringLiteral(R"({"ftp_user": "%1", "ftp_password": "%2", "ftp_root": "ftp", "proxy_user": "%3",)"
                       R"( "proxy_password": "%4"})")
            .arg(kUser, kPassword, kProxyUser, kProxyPassword)
            .toUtf8());
    lab_ = std::make_unique<TDemoLab>(dir_.path(), faults);
}

QString TFtpServer::Orders(const QString& name) const
{
    return dir_.filePath("ftp/orders/" + name);
}

QString TFtpServer::Root(const QString& name) const
{
    return dir_.filePath("ftp/" + name);
}

void TFtpServer::PointEngineAt(TEngine& engine) const
{
    engine.host = QStringLiteral("127.0.0.1:%1").arg(Port());
    engine.user = QString::fromLatin1(kUser);
    engine.pass = QString::fromLatin1(kPassword);
    engine.orderpath = QStringLiteral("/orders");
}

TFtpSettings TFtpServer::Settings() const
{
    TFtpSettings settings;
    settings.host = QStringLiteral("127.0.0.1");
    settings.port = lab_->FtpPort();
    settings.user = QString::fromLatin1(kUser);
    settings.password = QString::fromLatin1(kPassword);
    settings.readTimeoutMs = 5000;
    return settings;
}

bool TFtpServer::Open(TFtpClient& client) const
{
    const auto succeeded = [](const TFtpResult& step) {
        EXPECT_TRUE(step.ok) << FtpErrorName(step.errorClass).toStdString() << ": " << step.message.toStdString();
        return step.ok;
    };
    return succeeded(client.Connect()) && succeeded(client.Login())
        && succeeded(client.ChangeDir(QStringLiteral("/orders")));
}

bool WritePatternFile(const QString& path, qint64 size)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QByteArray block(1 << 16, Qt::Uninitialized);
    for (int i = 0; i < block.size(); ++i)
        block[i] = char((i * 7 + i / 251) & 0xFF);
    for (qint64 left = size; left > 0; left -= block.size())
        if (file.write(block.constData(), std::min<qint64>(left, block.size())) < 0)
            return false;
    return true;
}
