#include "core/core.h"

#include "core/blowfish.h"
#include "core/log.h"
#include "platform/inifile.h"

#include "tests/support/testsupport.h"

#include <QFile>
#include <QFontMetrics>
#include <gtest/gtest.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct ConfigFixture : ::testing::Test {
    ScopedAppDir app;
    QFont font { QStringLiteral("DejaVu Sans"), 9 };
    int textHeight = QFontMetrics(font).size(Qt::TextSingleLine, "^_").height();

    void WriteConfig(const QByteArray& text) { ASSERT_TRUE(WriteFileBytes(app.Path("config/config.ini"), text)); }
};

} // namespace

TEST_F(ConfigFixture, MissingFileKeepsBuiltInValues)
{
    TConfig config;
    config.Load(font);
    EXPECT_EQ(config.proxy_port, "0");
    EXPECT_EQ(config.timout, 30000);
    EXPECT_EQ(config.cropbackground, -1);
    EXPECT_EQ(config.cellWidth, 0); // nothing computed: the caller initialises the sizes
}

TEST_F(ConfigFixture, PartialFileTakesIfMissingValues)
{
    WriteConfig("[flags]\r\nfexit=0\r\nfShowTip=7\r\n[thumbs]\r\nthumbborder=abc\r\nthumbname=0\r\nthumbprice=0\r\n");
    TConfig config;
    config.proxy_port = "8080";
    config.Load(font);
    EXPECT_FALSE(config.fexit);
    EXPECT_TRUE(config.fShowTip); // any non-zero integer is true
    EXPECT_TRUE(config.fdelete);
    EXPECT_EQ(config.proxy_port, ""); // not "0": the key is missing from an existing file
    EXPECT_EQ(config.thumbborder, 5);
    EXPECT_EQ(config.cellWidth, 150);
    EXPECT_EQ(config.cellHeight, 150); // no text line under the thumbnail
    EXPECT_EQ(LogStore().Lines().back(), "Initializing thumb sizes ...");
}

// Hand-edited numbers that would overflow the cell arithmetic or the network client.
TEST_F(ConfigFixture, NumbersOutsideTheirRangeTakeBuiltInValues)
{
    WriteConfig("[net]\r\ntimout=-9223372036854775808\r\n[thumbs]\r\nthumbbitmapwidth=2147483647\r\n"
                "thumbbitmapheight=-2147483648\r\nthumbborder=11\r\nthumbspace=2147483647\r\n");
    TConfig config;
    config.Load(font);
    EXPECT_EQ(config.timout, 30000); // not a 32-bit number at all
    EXPECT_EQ(config.thumbbitmapwidth, 140);
    EXPECT_EQ(config.thumbbitmapheight, 140);
    EXPECT_EQ(config.thumbborder, 5);
    EXPECT_EQ(config.thumbspace, 5);
    EXPECT_TRUE(LogHasLine("Config: thumbs/thumbbitmapwidth=2147483647 is outside 100..180; 140 used", 2));
    EXPECT_TRUE(LogHasLine("Config: thumbs/thumbborder=11 is outside 0..10; 5 used", 2));

    WriteConfig("[thumbs]\r\nthumbbitmapwidth=100\r\nthumbbitmapheight=180\r\nthumbborder=0\r\nthumbspace=0\r\n");
    config.Load(font);
    EXPECT_EQ(config.thumbbitmapwidth, 100);
    EXPECT_EQ(config.thumbbitmapheight, 180);
    EXPECT_EQ(config.thumbborder, 0);
    EXPECT_EQ(config.thumbspace, 0);
}

TEST_F(ConfigFixture, TimeOutOfZeroOrLessIsTheBuiltInOne)
{
    TConfig config;
    for (const int stored : { 0, -1, INT32_MIN }) {
        config.timout = stored;
        LogStore().Clear();
        EXPECT_EQ(config.NetworkTimeout(), 30000) << stored;
        EXPECT_TRUE(
            LogHasLine(QStringLiteral("Config: net/timout=%1 is not a time-out; 30000 ms used").arg(stored), 2));
    }
    config.timout = 1;
    EXPECT_EQ(config.NetworkTimeout(), 1);
}

TEST_F(ConfigFixture, ThumbCellHeightCountsTextLines)
{
    TConfig config;
    config.thumbbitmapheight = 100;
    config.thumbborder = 3;
    config.thumbsize = true;
    config.InitThumbSizes(font);
    EXPECT_EQ(config.cellHeight, 106 + 3 * textHeight + 2); // name, price and size lines
    EXPECT_EQ(config.cellWidth, 146);
}

// The bytes below are what the program has always written; a file the user edited keeps its
// comments, other sections and key spelling, and new keys join their sections.
TEST_F(ConfigFixture, SaveWritesEveryKeyInOrderOwnerOnly)
{
    TConfig config;
    config.proxy_login = QStringLiteral(u"jan");
    config.proxy_pass = QStringLiteral(u"hasło");
    config.id = QStringLiteral(u"konto ż");
    config.cropbackground = 0x123456;
    config.thumbsize = true;
    ASSERT_TRUE(config.Save());

    const QString path = app.Path("config/config.ini");
    EXPECT_EQ(ReadFileBytes(path),
        QByteArray("[flags]\r\nfexit=1\r\nfdelete=1\r\nfPickDefFormat=1\r\nfShowTip=1\r\n"
                   "[editor]\r\ncropalpha=64\r\ncropbackground=1193046\r\n"
                   "[net]\r\npassive=0\r\ntimout=30000\r\nuseproxy=0\r\nproxy_host=\r\n"
                   "proxy_port=0\r\nproxy_login=CEF867E8698C300B\r\n"
                   "proxy_pass=91EED508E2B48DD5\r\nproxy_ftp_type=0\r\n"
                   "[va]\r\nsavepath=\r\nloadpath=\r\nid=konto \xBF\r\n"
                   "[thumbs]\r\nthumbborder=5\r\nthumbbitmapwidth=140\r\n"
                   "thumbbitmapheight=140\r\nthumbspace=5\r\nthumbname=1\r\nthumbprice=1\r\n"
                   "thumbsize=1\r\nthumbresolution=0\r\n"
                   "[window]\r\nwindowleft=0\r\nwindowtop=0\r\nwindowwidth=0\r\nwindowheight=0\r\n"
                   "windowmaximized=0\r\n"
                   "[folders]\r\nphotofolder=\r\naccountfolder=\r\nsavefolder=\r\n"));
    struct stat st { };
    ASSERT_EQ(stat(QFile::encodeName(path).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);

    TConfig reloaded;
    reloaded.Load(font);
    EXPECT_EQ(reloaded.proxy_login, config.proxy_login);
    EXPECT_EQ(reloaded.proxy_pass, config.proxy_pass);
    EXPECT_EQ(reloaded.id, config.id);
    EXPECT_EQ(reloaded.cropbackground, 0x123456);
    EXPECT_TRUE(reloaded.thumbsize);

    // One write of the file, however many keys: count the times config.ini is put in place.
    const int watch = inotify_init1(IN_NONBLOCK);
    ASSERT_GE(watch, 0);
    ASSERT_GE(
        inotify_add_watch(watch, QFile::encodeName(app.Path("config")).constData(), IN_MOVED_TO | IN_CLOSE_WRITE), 0);
    WriteConfig("; kept comment\r\n[Thumbs]\r\nThumbName = 0\r\nextra=keep\r\n\r\n[other]\r\na=b\r\n"
                "[NET]\r\ntimout=5\r\ntimout=6\r\n\r\n");
    ASSERT_TRUE(config.Save());
    EXPECT_EQ(ReadFileBytes(path),
        QByteArray("; kept comment\r\n[Thumbs]\r\nthumbname=1\r\nextra=keep\r\nthumbborder=5\r\n"
                   "thumbbitmapwidth=140\r\nthumbbitmapheight=140\r\nthumbspace=5\r\nthumbprice=1\r\n"
                   "thumbsize=1\r\nthumbresolution=0\r\n\r\n[other]\r\na=b\r\n"
                   "[NET]\r\ntimout=30000\r\ntimout=6\r\npassive=0\r\nuseproxy=0\r\nproxy_host=\r\n"
                   "proxy_port=0\r\nproxy_login=CEF867E8698C300B\r\nproxy_pass=91EED508E2B48DD5\r\n"
                   "proxy_ftp_type=0\r\n\r\n[flags]\r\nfexit=1\r\nfdelete=1\r\nfPickDefFormat=1\r\nfShowTip=1\r\n"
                   "[editor]\r\ncropalpha=64\r\ncropbackground=1193046\r\n"
                   "[va]\r\nsavepath=\r\nloadpath=\r\nid=konto \xBF\r\n"
                   "[window]\r\nwindowleft=0\r\nwindowtop=0\r\nwindowwidth=0\r\nwindowheight=0\r\n"
                   "windowmaximized=0\r\n"
                   "[folders]\r\nphotofolder=\r\naccountfolder=\r\nsavefolder=\r\n"));
    int writes = 0;
    alignas(inotify_event) char events[4096];
    for (ssize_t size; (size = read(watch, events, sizeof events)) > 0;)
        for (ssize_t at = 0; at < size;) {
            const auto* event = reinterpret_cast<const inotify_event*>(events + at);
            writes += event->len > 0 && QByteArray(event->name) == "config.ini";
            at += ssize_t(sizeof(inotify_event)) + event->len;
        }
    close(watch);
    EXPECT_EQ(writes, 2); // the test's own file, then Save
}

TEST_F(ConfigFixture, DamagedProtectedValueKeepsBuiltInAndLogs)
{
    const QString login = TBlowFish(QByteArrayView(kConfigKey)).EncodeText("user");
    WriteConfig("[net]\r\nproxy_login=" + login.toLatin1() + "\r\nproxy_pass=12345\r\nuseproxy=1\r\n");
    LogStore().Clear();
    TConfig config;
    config.Load(font);
    EXPECT_EQ(config.proxy_login, "user");
    EXPECT_EQ(config.proxy_pass, "");
    EXPECT_TRUE(config.useproxy);
    ASSERT_GE(LogStore().Lines().size(), 1);
    EXPECT_EQ(LogStore().Levels().Get(0), 3);
    EXPECT_TRUE(LogStore().Lines()[0].contains("proxy_pass")) << LogStore().Lines()[0].toStdString();
    LogStore().Clear();
}

TEST_F(ConfigFixture, SelectedSkinFile)
{
    EXPECT_EQ(TConfig::SelectedSkinName(), "domyslna");
    EXPECT_EQ(TConfig::SelectedSkinFile(), ""); // the default skin's file is absent
    ASSERT_TRUE(WriteFileBytes(app.Path("skins/domyslna.vdskin"), "x"));
    EXPECT_EQ(TConfig::SelectedSkinFile(), app.Path("skins/domyslna.vdskin"));
    ASSERT_TRUE(TConfig::SetSelectedSkinName("niebieska"));
    EXPECT_EQ(TConfig::SelectedSkinFile(), "");
    ASSERT_TRUE(WriteFileBytes(app.Path("skins/niebieska.vdskin"), "x"));
    EXPECT_EQ(TConfig::SelectedSkinFile(), app.Path("skins/niebieska.vdskin"));
    ASSERT_TRUE(TConfig::SetSelectedSkinName("../domyslna")); // a name, never a path
    EXPECT_EQ(TConfig::SelectedSkinName(), "domyslna");
}
