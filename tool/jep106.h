#pragma once

#include <cstdint>
#include <string>

namespace kestrin::tool {

// The module maker named by a JEP106 identifier as SPD stores it since DDR3:
// the continuation count (bank - 1) and the code, both with their odd-parity
// bit 7. Makers outside the table give "bank N, 0xNN"; an empty string means
// the bytes are unset (all 0x00 or 0xFF) or not a valid code.
[[nodiscard]] std::string jep106Name(std::uint8_t continuation, std::uint8_t code);

} // namespace kestrin::tool
