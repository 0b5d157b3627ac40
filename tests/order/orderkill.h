#pragma once
// The lab both halves of the kill test use: the demo lab's FTP server on 127.0.0.1, orders in
// "/orders", IDs by "%data8%", a post-order page signed with the key "klucz".
#include "core/core.h"
#include "lab/vdengine.h"
#include "tests/project/projectfixture.h"
#include "tests/support/ftpserver.h"

#include <QString>

inline void UseKillTestLab(TEngine& engine, TConfig& config, int ftpPort)
{
    engine.host = QStringLiteral("127.0.0.1:%1").arg(ftpPort);
    engine.user = TFtpServer::kUser;
    engine.pass = TFtpServer::kPassword;
    engine.orderpath = "/orders";
    engine.orderid = "%data8%";
    engine.authkey = "klucz";
    engine.postorderpage = "http://lab.example/zlecenie";
    config.timout = 5000;
}

// The photos of the order: three, printed 10 x 15 but for the second, a 30 x 45 poster (some
// 16 MB as the lab's JPEG: far more than a socket's buffers hold, so a kill during it leaves a
// part of it on the server).
inline constexpr int kKillTestPhotos = 3;
inline constexpr int kKillTestPoster = 2;

inline int KillTestFormat(int photo)
{
    return photo == kKillTestPoster ? kFormat30x45 : kFormat10x15;
}
