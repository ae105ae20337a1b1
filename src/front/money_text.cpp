#include "front/money_text.h"

#include <algorithm>

namespace korvane {

std::string moneyText(std::string_view thousands) {
  std::string out = "\xA3";
  const bool plainDigits =
      std::all_of(thousands.begin(), thousands.end(), [](char c) { return c >= '0' && c <= '9'; });
  if (!plainDigits) {
    out += thousands;
  } else {
    // A separator before every further group of three, counted from the right.
    for (std::size_t i = 0; i < thousands.size(); ++i) {
      if (i > 0 && (thousands.size() - i) % 3 == 0) out += ',';
      out += thousands[i];
    }
  }
  out += ",000";
  return out;
}

}  // namespace korvane
