// A reply from an FTP server: any bytes, read as a FEAT list, as the answer to REST and as the
// answer to SIZE. REST is accepted only with status 350, and a size is never negative.
#include "net/ftpreplies.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArrayView reply(reinterpret_cast<const char*>(data), qsizetype(size));
    ParseFtpFeatures(reply);
    const int status = size >= 3 ? (data[0] % 10) * 100 + (data[1] % 10) * 10 + data[2] % 10 : 0;
    for (const qint64 offset : { qint64(0), qint64(1000003), qint64(1) << 40 })
        if (RestReplyAccepted(status, reply, offset) && status != 350)
            std::abort();
    if (const std::optional<qint64> parsed = ParseSizeReply(213, reply); parsed && *parsed < 0)
        std::abort();
    return 0;
}
