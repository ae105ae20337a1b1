#pragma once

#include <array>
#include <compare>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace korvane::component {

// A 128-bit identity of a class, interface or type library.
struct Guid {
  std::uint32_t data1 = 0;
  std::uint16_t data2 = 0;
  std::uint16_t data3 = 0;
  std::array<std::uint8_t, 8> data4{};

  friend constexpr auto operator<=>(const Guid&, const Guid&) = default;
};

// Returns the identity written as "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" (hex digits in either
// case); nullopt for any other text, including missing braces or surrounding blanks.
std::optional<Guid> parseGuid(std::string_view text);

// Returns the identity as "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" with upper-case hex digits.
std::string guidText(const Guid& guid);

}  // namespace korvane::component
