#pragma once
// What the kill tests share: the lab the child program sends to, the order it sends, and the
// child itself started, watched and killed (SIGKILL) at a point of its upload.
#include "core/core.h"
#include "lab/vdengine.h"
#include "tests/project/projectfixture.h"

#include <QString>
#include <QStringList>

#include <map>

class TDemoLab;

// The lab of the order: the demo lab's FTP server on 127.0.0.1 with the given account, orders
// in "/orders", IDs by "%data8%", a post-order page signed with the key "klucz".
inline void UseKillTestLab(TEngine& engine, TConfig& config, int ftpPort, const QString& user, const QString& password)
{
    engine.host = QStringLiteral("127.0.0.1:%1").arg(ftpPort);
    engine.user = user;
    engine.pass = password;
    engine.orderpath = "/orders";
    engine.orderid = "%data8%";
    engine.authkey = "klucz";
    engine.postorderpage = "http://lab.example/zlecenie";
    config.timout = 5000;
}

// The photos of the order: three, printed 10 x 15 but for the second, a 30 x 45 poster (some
// megabytes as the lab's JPEG: more than a socket's buffers hold, so a kill during it leaves a
// part of it on the server).
inline constexpr int kKillTestPhotos = 3;
inline constexpr int kKillTestPoster = 2;
inline int KillTestFormat(int photo)
{
    return photo == kKillTestPoster ? kFormat30x45 : kFormat10x15;
}

// serve.py's switches for a line slow enough for the poster to take some seconds.
inline const QStringList kKillTestSlowLine { "--line-rate", "2000000" };

// The name photo n of order id has on the server.
QString RemotePhoto(const QString& id, int n);

// Where the child is killed: once it has held out after holdAfter files, or, when killIn is
// not 0, once the server holds kIntoFile bytes of photo killIn (1 = the first).
struct TKillPoint {
    const char* name;
    int holdAfter = 0;
    int killIn = 0;
    int sentBefore = 0; // files the record counts as sent when the program is killed
};
inline constexpr qint64 kIntoFile = 1000000;

// Where the child sends from and to.
struct TKillTarget {
    QString appDir; // its program folder: the order's folder and the history go there
    QString tempDir; // its photos and working copies
    TDemoLab* lab = nullptr; // the server, for its log
    QString orders; // the server's order folder on disk
    QString user;
    QString password;
    int ftpPort = 0;
};

// Runs the order in the child program and kills it at point; the order's ID, empty when the
// child ended before. After a kill during a photo, waits until the server has noted the cut
// upload and checks that only a part of the photo arrived.
QString SendAndKill(const TKillTarget& target, const TKillPoint& point);

// For each file in "/orders", the bytes its uploads carried in all, from the server's log
// ("FTP UPLOAD /path from OFFSET: N bytes").
std::map<QString, qint64> UploadedBytes(const QString& log);
