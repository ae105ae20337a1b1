#include "utf8_text.h"

#include <cstdint>
#include <cstring>

namespace korvane::listing {

std::size_t invalidUtf8At(std::string_view text) {
  const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
  const std::size_t size = text.size();
  std::size_t at = 0;
  while (at < size) {
    // Eight bytes of plain ASCII at a time: almost every Price Paid row is nothing else.
    std::uint64_t eight;
    if (size - at >= 8 &&
        (std::memcpy(&eight, bytes + at, 8), (eight & 0x8080808080808080u) == 0)) {
      at += 8;
      continue;
    }
    const unsigned char lead = bytes[at];
    if (lead < 0x80) {
      ++at;
      continue;
    }
    // The length of the sequence and the range its second byte must lie in (RFC 3629).
    std::size_t length = 0;
    unsigned char low = 0x80, high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
      length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      length = 3;
      if (lead == 0xE0) low = 0xA0;   // overlong below
      if (lead == 0xED) high = 0x9F;  // surrogates above
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      length = 4;
      if (lead == 0xF0) low = 0x90;   // overlong below
      if (lead == 0xF4) high = 0x8F;  // past U+10FFFF above
    } else {
      return at;
    }
    if (size - at < length || bytes[at + 1] < low || bytes[at + 1] > high) return at;
    for (std::size_t i = 2; i < length; ++i)
      if ((bytes[at + i] & 0xC0) != 0x80) return at;
    at += length;
  }
  return std::string_view::npos;
}

}  // namespace korvane::listing
