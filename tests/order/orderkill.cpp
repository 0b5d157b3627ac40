#include "tests/order/orderkill.h"

#include "platform/files.h"
#include "tests/support/demolab.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>

#include <gtest/gtest.h>

QString RemotePhoto(const QString& id, int n)
{
    return QStringLiteral("%1_%2.jpg").arg(id.toLower(), QString::number(n).rightJustified(5, '0'));
}

namespace {

// The size of the child's own copy of photo n of order id.
qint64 LocalPhotoSize(const QString& appDir, const QString& id, int n)
{
    const QDir orders(appDir + "/orders");
    const QStringList folders = orders.entryList({ "VDOTMP.*" }, QDir::Dirs);
    if (folders.size() != 1)
        return -1;
    return FileSize64(
        orders.filePath(folders[0]) + "/" + id + "_" + QString::number(n).rightJustified(5, '0') + ".jpg");
}

} // namespace

QString SendAndKill(const TKillTarget& target, const TKillPoint& point)
{
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("TMPDIR", target.tempDir);
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    child.setProcessEnvironment(environment);
    child.start(QStringLiteral(ORDER_KILL_CHILD),
        { target.appDir, QString::number(target.ftpPort), target.user, target.password,
            QString::number(point.holdAfter) });
    QString id;
    bool killed = false;
    QElapsedTimer clock;
    clock.start();
    const auto serverCopy = [&] { return FileSize64(target.orders + "/" + RemotePhoto(id, point.killIn)); };
    while (!killed && child.state() != QProcess::NotRunning && clock.elapsed() < 180000) {
        child.waitForReadyRead(50);
        while (child.canReadLine()) {
            const QString line = QString::fromUtf8(child.readLine()).trimmed();
            if (line.startsWith("order "))
                id = line.mid(6);
            else if (line.startsWith("outcome ") || line.startsWith("error "))
                ADD_FAILURE() << "the child got to its end: " << line.toStdString();
            killed = killed || line == "holding";
        }
        if (point.killIn > 0 && !id.isEmpty())
            killed = killed || serverCopy() >= kIntoFile;
    }
    EXPECT_TRUE(killed) << child.readAllStandardError().toStdString();
    child.kill(); // SIGKILL
    child.waitForFinished(30000);
    if (point.killIn > 0) {
        // The server notes the cut upload when it sees its data connection close; what the
        // socket's buffers held arrives meanwhile, but not the whole poster.
        EXPECT_TRUE(target.lab->WaitForOutput("FTP UPLOAD /orders/" + RemotePhoto(id, point.killIn), 30000))
            << target.lab->Output().toStdString();
        EXPECT_LT(serverCopy(), LocalPhotoSize(target.appDir, id, point.killIn)) << "the kill cut the photo";
    }
    return id;
}

std::map<QString, qint64> UploadedBytes(const QString& log)
{
    static const QRegularExpression upload(
        QStringLiteral("^FTP UPLOAD /orders/(\\S+) from \\d+: (\\d+) bytes"), QRegularExpression::MultilineOption);
    std::map<QString, qint64> bytes;
    for (auto it = upload.globalMatch(log); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        bytes[match.captured(1)] += match.captured(2).toLongLong();
    }
    return bytes;
}
