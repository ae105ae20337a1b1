#pragma once

#include "queryserv/component/variant.h"

#include <optional>
#include <string>
#include <string_view>

namespace korvane::component {

// Reads one typed argument as written on quorbel-call's command line: "empty", "null",
// "i2:<16-bit whole number>", "i4:<32-bit whole number>", "r8:<number>",
// "bool:true|false|<16-bit pattern>", "text:<anything>". Returns nullopt for anything else,
// including numbers out of range or with trailing characters.
std::optional<Variant> parseArgument(std::string_view text);

// Returns the variant in the form parseArgument reads.
std::string argumentText(const Variant& value);

}  // namespace korvane::component
