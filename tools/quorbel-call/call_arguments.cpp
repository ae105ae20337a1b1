#include "call_arguments.h"

#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace korvane::component {
namespace {

template <typename Integer>
std::optional<Integer> wholeNumber(std::string_view text) {
  Integer value{};
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

std::optional<double> realNumber(std::string_view text) {
  // strtod rather than from_chars: the latter is missing for double in some libstdc++ releases.
  const std::string copy(text);
  if (copy.empty() || copy.front() == ' ') return std::nullopt;
  char* end = nullptr;
  const double value = std::strtod(copy.c_str(), &end);
  if (end != copy.c_str() + copy.size()) return std::nullopt;
  return value;
}

}  // namespace

std::optional<Variant> parseArgument(std::string_view text) {
  if (text == "empty") return Variant();
  if (text == "null") return Variant::null();
  const std::size_t colon = text.find(':');
  if (colon == std::string_view::npos) return std::nullopt;
  const std::string_view type = text.substr(0, colon);
  const std::string_view value = text.substr(colon + 1);
  if (type == "text") return Variant::fromText(std::string(value));
  if (type == "i2") {
    if (auto number = wholeNumber<std::int16_t>(value)) return Variant::fromI2(*number);
  } else if (type == "i4") {
    if (auto number = wholeNumber<std::int32_t>(value)) return Variant::fromI4(*number);
  } else if (type == "r8") {
    if (auto number = realNumber(value)) return Variant::fromR8(*number);
  } else if (type == "bool") {
    if (value == "true") return Variant::fromBool(VARIANT_TRUE);
    if (value == "false") return Variant::fromBool(VARIANT_FALSE);
    if (auto bits = wholeNumber<std::int16_t>(value)) return Variant::fromBool(*bits);
  }
  return std::nullopt;
}

std::string argumentText(const Variant& value) {
  switch (value.type) {
    case VarType::Empty:
      return "empty";
    case VarType::Null:
      return "null";
    case VarType::I2:
      return "i2:" + std::to_string(value.i2);
    case VarType::I4:
      return "i4:" + std::to_string(value.i4);
    case VarType::R8: {
      char number[32];
      std::snprintf(number, sizeof number, "%.17g", value.r8);
      return std::string("r8:") + number;
    }
    case VarType::Text:
      return "text:" + value.text;
    case VarType::Bool:
      if (value.i2 == VARIANT_TRUE) return "bool:true";
      if (value.i2 == VARIANT_FALSE) return "bool:false";
      return "bool:" + std::to_string(value.i2);
  }
  return "empty";
}

}  // namespace korvane::component
