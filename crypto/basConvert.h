#pragma once
// Byte arrays as upper-case hexadecimal text, two digits per byte, and back.
#include <cstdint>
#include <string>
#include <string_view>

#include "crypto/Bytes.h"

namespace quillon {

std::string ByteToHex(std::uint8_t value);
std::string BytesToHex(const Bytes& bytes);

// Never fails: an odd-length text is read as if it had a leading "0", and each
// pair is read as a hexadecimal number (either case) that stops at its first
// non-digit, so "zz" gives 0 and "1z" gives 1. Blanks, tabs and line feeds are
// non-digits like any other: "A " gives 0x0A and " A" gives 0. Text written by
// BytesToHex never holds them, and one rule for every non-digit keeps a pair's
// value independent of what kind of stray character it holds.
Bytes HexToBytes(std::string_view text);

}  // namespace quillon
