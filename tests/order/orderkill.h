#pragma once
// The lab both halves of the kill test use: the demo lab's FTP server on 127.0.0.1, orders in
// "/orders", IDs by "%data8%", a post-order page signed with the key "klucz".
#include "core/core.h"
#include "lab/vdengine.h"
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

// The photos of the order: three, each printed 10 x 15.
inline constexpr int kKillTestPhotos = 3;
