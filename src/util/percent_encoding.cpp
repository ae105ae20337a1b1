#include "percent_encoding.h"

namespace korvane {

std::string percentEncode(std::string_view text, bool (*keep)(unsigned char byte)) {
  static constexpr char hex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(text.size());
  for (const char ch : text) {
    const auto byte = static_cast<unsigned char>(ch);
    if (keep(byte)) {
      out += ch;
    } else {
      out += '%';
      out += hex[byte >> 4];
      out += hex[byte & 0x0F];
    }
  }
  return out;
}

}  // namespace korvane
