#pragma once

// Windows-1252 text (one byte a character, as the program keeps it) to and from UTF-8.

#include <string>
#include <string_view>

namespace korvane {

// Each byte as its Windows-1252 character in UTF-8. The five bytes that Windows-1252 leaves
// unassigned (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the control characters of the same number, as
// Windows does, so every byte survives a round trip. Never fails.
std::string cp1252ToUtf8(std::string_view bytes);

// UTF-8 to Windows-1252; a character that has no Windows-1252 byte, and any invalid UTF-8 byte,
// becomes "?". Never fails.
std::string utf8ToCp1252(std::string_view utf8);

// True iff text is valid UTF-8 and holds at least one multi-byte character.
bool isMultiByteUtf8(std::string_view text);

// The UTF-8 to show for bytes that came from a page: text that is valid UTF-8 with multi-byte
// characters is shown as it is; anything else is read as Windows-1252.
std::string displayUtf8(std::string_view bytes);

}  // namespace korvane
