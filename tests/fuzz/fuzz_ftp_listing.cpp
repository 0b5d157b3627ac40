// A listing from an FTP server: any bytes, read as MLSD and as LIST, in either name encoding.
// Every item that comes out must carry a plain file name and a size that is -1 or more.
#include "net/ftplisting.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray listing = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    for (const TFtpListingKind kind : { TFtpListingKind::Mlsd, TFtpListingKind::List })
        for (const bool utf8 : { true, false })
            for (const TFtpListItem& item : ParseFtpListing(listing, kind, utf8))
                if (!IsPlainRemoteName(item.name) || item.size < -1)
                    std::abort();
    return 0;
}
