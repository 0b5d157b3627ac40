#include "net/ftpreplies.h"

#include <QByteArray>

#include <gtest/gtest.h>

namespace {

TEST(FtpReplies, FeatureListsOfRealServers)
{
    struct Case {
        const char* server;
        QByteArray reply;
        bool mlsd, utf8, restStream, size, authTls;
    };
    const Case cases[] = {
        { "pyftpdlib",
            "211-Features supported:\r\n AUTH SSL\r\n AUTH TLS\r\n EPRT\r\n MDTM\r\n MLST "
            "type*;perm*;size*;modify*;\r\n REST STREAM\r\n SIZE\r\n TVFS\r\n UTF8\r\n211 End FEAT.\r\n",
            true, true, true, true, true },
        { "vsftpd",
            "211-Features:\r\n AUTH TLS\r\n EPSV\r\n PBSZ\r\n PROT\r\n REST STREAM\r\n SIZE\r\n UTF8\r\n211 End\r\n",
            false, true, true, true, true },
        { "a list of AUTH mechanisms", "211-Extensions\r\n auth ssl;tls\r\n size\r\n211 end\r\n", false, false, false,
            true, true },
        { "REST without STREAM, AUTH without TLS", "211-x\r\n REST\r\n AUTH SSL\r\n MLSD\r\n211 End\r\n", false, false,
            false, false, false },
        { "no features", "211 No features\r\n", false, false, false, false, false },
        { "LF only, padded", "211-x\n    Rest   Stream  \n   utf8\n211 End", false, true, true, false, false },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.server);
        const TFtpFeatures features = ParseFtpFeatures(c.reply);
        EXPECT_EQ(features.mlsd, c.mlsd);
        EXPECT_EQ(features.utf8, c.utf8);
        EXPECT_EQ(features.restStream, c.restStream);
        EXPECT_EQ(features.size, c.size);
        EXPECT_EQ(features.authTls, c.authTls);
    }
}

TEST(FtpReplies, RestAcceptedOnlyAtThePositionAsked)
{
    struct Case {
        int status;
        const char* reply;
        qint64 offset;
        bool accepted;
    };
    const Case cases[] = {
        { 350, "350 Restarting at 1000003. Send STORE or RETRIEVE to initiate transfer", 1000003, true },
        { 350, "350 Restart position accepted (1000003).", 1000003, true },
        { 350, "350 Restart position accepted.", 5, true },
        { 350, "350 Restarting at 1000. Send STORE", 1000003, false }, // another position
        { 350, "350 Restarting at 99999999999999999999999", 5, false }, // no number a file can have
        { 502, "502 Command not implemented.", 1000, false },
        { 451, "451 Restarting of uploads is not allowed", 1000, false },
        { 350, "", 7, true },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.reply);
        EXPECT_EQ(RestReplyAccepted(c.status, c.reply, c.offset), c.accepted);
    }
}

TEST(FtpReplies, SizeIsOneDecimalNumber)
{
    EXPECT_EQ(ParseSizeReply(213, "213 5368709120\r\n"), 5368709120);
    EXPECT_EQ(ParseSizeReply(213, "213 0"), 0);
    EXPECT_EQ(ParseSizeReply(550, "550 No such file"), std::nullopt);
    EXPECT_EQ(ParseSizeReply(213, "213 12 bytes"), std::nullopt);
    EXPECT_EQ(ParseSizeReply(213, "213 -1"), std::nullopt);
    EXPECT_EQ(ParseSizeReply(213, "213 1234567890123456789"), std::nullopt);
    EXPECT_EQ(ParseSizeReply(213, "213"), std::nullopt);
}

} // namespace
