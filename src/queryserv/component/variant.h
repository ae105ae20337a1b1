#pragma once

#include <cstdint>
#include <string>
#include <utility>

namespace korvane::component {

// A boolean of the automation types: 16 bits, true is all bits set, false is 0. Other bit
// patterns can arrive from clients and are neither.
using VariantBool = std::int16_t;
inline constexpr VariantBool VARIANT_TRUE = -1;
inline constexpr VariantBool VARIANT_FALSE = 0;

// The automation types a variant can hold, numbered as on the desktop platform.
enum class VarType : std::uint16_t {
  Empty = 0,
  Null = 1,
  I2 = 2,
  I4 = 3,
  R8 = 5,
  Text = 8,
  Bool = 11,
};

// A tagged value of one automation type; only the field of its type is meaningful.
struct Variant {
  VarType type = VarType::Empty;
  std::int16_t i2 = 0;  // I2, and Bool as a VariantBool
  std::int32_t i4 = 0;
  double r8 = 0;
  std::string text;

  static Variant null() { return typed(VarType::Null); }
  static Variant fromI2(std::int16_t value) { return typed(VarType::I2, &Variant::i2, value); }
  static Variant fromI4(std::int32_t value) { return typed(VarType::I4, &Variant::i4, value); }
  static Variant fromR8(double value) { return typed(VarType::R8, &Variant::r8, value); }
  static Variant fromBool(VariantBool value) { return typed(VarType::Bool, &Variant::i2, value); }
  static Variant fromText(std::string value) {
    return typed(VarType::Text, &Variant::text, std::move(value));
  }

  friend bool operator==(const Variant&, const Variant&) = default;

 private:
  static Variant typed(VarType type) {
    Variant v;
    v.type = type;
    return v;
  }
  template <typename Field, typename Value>
  static Variant typed(VarType type, Field Variant::*field, Value value) {
    Variant v = typed(type);
    v.*field = std::move(value);
    return v;
  }
};

}  // namespace korvane::component
