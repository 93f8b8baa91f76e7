#include "tool/edid.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const kestrin::tool::EdidInfo info = kestrin::tool::decodeEdid({data, size});
    // Whatever is not a whole, sound EDID must say why.
    if (!info.valid && info.problems.empty()) {
        __builtin_trap();
    }
    for (const auto &mode : {info.preferred, info.firstDetailed, info.displayIdPreferred}) {
        if (mode && kestrin::tool::describeMode(*mode).empty()) {
            __builtin_trap();
        }
    }
    return 0;
}
