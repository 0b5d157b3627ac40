// The message a later launch sends to the running instance with the paths it was given.
#include "platform/openrequest.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    const TOpenRequest request = ParseOpenRequest(bytes);
    // A complete message in valid UTF-8 encodes back to the same bytes.
    if (request.status == TOpenRequest::Complete && bytes.isValidUtf8() && EncodeOpenRequest(request.paths) != bytes)
        __builtin_trap();
    return 0;
}
