#include "tool/spd.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const kestrin::tool::SpdInfo info = kestrin::tool::decodeSpd({data, size});
    // A module whose checksum fails is listed with the reason.
    if (!info.checksumOk && info.error.empty()) {
        __builtin_trap();
    }
    return 0;
}
