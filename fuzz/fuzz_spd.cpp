#include "tool/spd.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const kestrin::tool::SpdInfo info = kestrin::tool::decodeSpd({data, size});
    // Reads past the data and overflowing arithmetic show as sanitizer reports.
    if (info.sizeMiB && *info.sizeMiB == 0)
        __builtin_trap();
    if (info.checksumOk && !info.error.empty())
        __builtin_trap();
    return 0;
}
