// The paths a launch is asked to open, and their hand-over to the running instance.
#include "platform/instancechannel.h"
#include "platform/openrequest.h"
#include "platform/process.h"

#include "tests/support/testsupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstring>
#include <future>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

TEST(OpenRequest, PathsFromArguments)
{
    const QString here = QDir::currentPath();
    const struct {
        QStringList arguments;
        QStringList paths;
    } cases[] = {
        { { "vendaro" }, {} },
        { { "vendaro", "-keeptmp", "-NoSkin", "-log" }, {} },
        { { "vendaro", "-savelog", "a.jpg", "/photos/album/", "/photos/../b c.png" },
            { here + "/a.jpg", "/photos/album", "/b c.png" } },
        { { "vendaro", "file:///photos/z%C5%BC%20x.jpg", "--", "-dash.jpg", "--" },
            { QStringLiteral(u"/photos/zż x.jpg"), here + "/-dash.jpg", here + "/--" } },
        { { "vendaro", "" }, {} },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments.join(u' ').toStdString());
        EXPECT_EQ(PathsFromArguments(c.arguments), c.paths);
    }
}

TEST(OpenRequest, EncodedRequestsParseBackAndFaultsAreRefused)
{
    const QStringList paths = { "/a.jpg", QStringLiteral(u"/zdjęcia/line\nbreak.png"), "/x" };
    const QByteArray message = EncodeOpenRequest(paths);
    const TOpenRequest whole = ParseOpenRequest(message);
    EXPECT_EQ(whole.status, TOpenRequest::Complete);
    EXPECT_EQ(whole.paths, paths);
    EXPECT_EQ(ParseOpenRequest(EncodeOpenRequest({})).status, TOpenRequest::Complete);
    // Every cut of the message is waited for.
    for (qsizetype size = 0; size < message.size(); ++size)
        EXPECT_EQ(ParseOpenRequest(message.left(size)).status, TOpenRequest::Incomplete) << size;

    const QByteArray bad[] = {
        "GET / HTTP/1.1\r\n",
        "vendaro-open -1\n",
        "vendaro-open 1x\n/a",
        "vendaro-open \n",
        "vendaro-open 100001\n",
        "vendaro-open 00\n",
        QByteArrayLiteral("vendaro-open 2\n/a\0\0"),
        QByteArrayLiteral("vendaro-open 1\n/a\0/b\0"),
        "vendaro-open 1234567890",
    };
    for (const QByteArray& bytes : bad)
        EXPECT_EQ(ParseOpenRequest(bytes).status, TOpenRequest::Bad) << bytes.toStdString();
}

// A socket file a crashed instance left: bound once, never listened on, never removed.
void LeaveStaleSocket(const QString& path)
{
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address {};
    address.sun_family = AF_UNIX;
    const QByteArray name = QFile::encodeName(path);
    std::memcpy(address.sun_path, name.constData(), size_t(name.size()));
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ::close(fd);
}

TEST(InstanceChannel, HandsPathsOverAStaleSocketsPlace)
{
    QTemporaryDir dir;
    const ScopedEnv runtime("XDG_RUNTIME_DIR", dir.path());
    const QString key = dir.filePath("vendaro");
    LeaveStaleSocket(InstanceFilePath(key, ".socket"));

    // Nothing listens: the launch gives up after its time.
    QElapsedTimer clock;
    clock.start();
    EXPECT_FALSE(HandToRunningInstance({ "/a.jpg" }, key, 300));
    EXPECT_LT(clock.elapsed(), 5000);

    TInstanceServer server;
    ASSERT_TRUE(server.Listen(key));
    QList<QStringList> received;
    QObject::connect(&server, &TInstanceServer::PathsReceived, [&](const QStringList& paths) { received << paths; });
    const QList<QStringList> sent = { { "/a.jpg", QStringLiteral(u"/zdjęcia/b c.png") }, { "/album" } };
    for (const QStringList& paths : sent) {
        auto handed = std::async(std::launch::async, [&] { return HandToRunningInstance(paths, key, 10000); });
        while (handed.wait_for(std::chrono::milliseconds(5)) != std::future_status::ready)
            QCoreApplication::processEvents();
        EXPECT_TRUE(handed.get());
    }
    EXPECT_EQ(received, sent);

    server.Close();
    EXPECT_FALSE(QFileInfo::exists(InstanceFilePath(key, ".socket")));
}

} // namespace
