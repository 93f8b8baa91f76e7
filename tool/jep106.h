#pragma once

#include <string>

namespace kestrin::tool {

// The maker a JEP106 bank (1-based, the number of 0x7F continuation codes
// plus one) and code (with its parity bit) name, among the memory makers
// whose modules turn up; "bank N, 0xNN" for the others.
[[nodiscard]] std::string jep106Maker(unsigned bank, unsigned code);

} // namespace kestrin::tool
