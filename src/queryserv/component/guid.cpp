#include "guid.h"

#include "base/hex_digit.h"

#include <cstdio>

namespace korvane::component {
namespace {

// Reads `digits` hex digits at `pos`; false if any is not a hex digit.
bool readHex(std::string_view text, std::size_t pos, int digits, std::uint64_t& out) {
  out = 0;
  for (int i = 0; i < digits; ++i) {
    const int value = hexDigitValue(text[pos + i]);
    if (value < 0) return false;
    out = out * 16 + static_cast<std::uint64_t>(value);
  }
  return true;
}

}  // namespace

std::optional<Guid> parseGuid(std::string_view text) {
  // {XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}
  if (text.size() != 38 || text.front() != '{' || text.back() != '}') return std::nullopt;
  if (text[9] != '-' || text[14] != '-' || text[19] != '-' || text[24] != '-') return std::nullopt;
  Guid guid;
  std::uint64_t value = 0;
  if (!readHex(text, 1, 8, value)) return std::nullopt;
  guid.data1 = static_cast<std::uint32_t>(value);
  if (!readHex(text, 10, 4, value)) return std::nullopt;
  guid.data2 = static_cast<std::uint16_t>(value);
  if (!readHex(text, 15, 4, value)) return std::nullopt;
  guid.data3 = static_cast<std::uint16_t>(value);
  static constexpr std::size_t bytePositions[8] = {20, 22, 25, 27, 29, 31, 33, 35};
  for (int i = 0; i < 8; ++i) {
    if (!readHex(text, bytePositions[i], 2, value)) return std::nullopt;
    guid.data4[i] = static_cast<std::uint8_t>(value);
  }
  return guid;
}

std::string guidText(const Guid& guid) {
  char text[39];
  std::snprintf(text, sizeof text, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                static_cast<unsigned>(guid.data1), guid.data2, guid.data3, guid.data4[0],
                guid.data4[1], guid.data4[2], guid.data4[3], guid.data4[4], guid.data4[5],
                guid.data4[6], guid.data4[7]);
  return text;
}

}  // namespace korvane::component
