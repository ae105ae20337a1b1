#pragma once

// Checks that bytes are well-formed UTF-8: no stray continuation bytes, no overlong forms, no
// surrogates, nothing above U+10FFFF, no sequence cut short.

#include <cstddef>
#include <string_view>

namespace korvane::listing {

// The offset of the first byte that does not begin a well-formed UTF-8 sequence, or npos when the
// whole text is well formed.
std::size_t invalidUtf8At(std::string_view text);

}  // namespace korvane::listing
