// GetStringBetween with fuzzed text, markers and case flag. The result is empty, or a trimmed piece
// of the text found after the start marker and free of the end marker, or the join form
// " INNER JOIN " piece " On ". The search it rests on agrees with a plain byte-by-byte search.

#include "fuzz_check.h"

#include "util/strings.h"

#include <algorithm>

namespace {

// Windows-1252 lower case, written out letter by letter.
unsigned char lower(char c) {
  const auto u = static_cast<unsigned char>(c);
  if ((u >= 'A' && u <= 'Z') || (u >= 0xC0 && u <= 0xDE && u != 0xD7)) return u + 32;
  if (u == 0x8A || u == 0x8C || u == 0x8E) return u + 0x10;
  return u == 0x9F ? 0xFF : u;
}

bool sameAt(std::string_view text, std::size_t pos, std::string_view needle, bool caseSensitive) {
  return std::ranges::equal(text.substr(pos, needle.size()), needle, [&](char a, char b) {
    return caseSensitive ? a == b : lower(a) == lower(b);
  });
}

std::size_t plainFind(std::string_view text, std::string_view needle, std::size_t from,
                      bool caseSensitive) {
  for (std::size_t pos = from; pos + needle.size() <= text.size(); ++pos) {
    if (sameAt(text, pos, needle, caseSensitive)) return pos;
  }
  return std::string_view::npos;
}

bool trimmed(std::string_view text) {
  return text.empty() || (text.front() != ' ' && text.back() != ' ');
}

bool sameFolded(std::string_view a, std::string_view b) {
  return a.size() == b.size() && sameAt(a, 0, b, false);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  korvane::fuzz::FuzzInput input(data, size);
  const bool caseSensitive = (input.byte() & 1) != 0;
  const std::string_view first = input.textUntil(), last = input.textUntil(), text = input.rest();

  // The fast search of long pages against the plain one, from every start the cut uses.
  const std::size_t found = korvane::findText(text, first, 0, caseSensitive);
  FUZZ_CHECK(found == (first.empty() ? 0 : plainFind(text, first, 0, caseSensitive)));
  const std::size_t half = text.size() / 2;
  FUZZ_CHECK(last.empty() || korvane::findText(text, last, half, caseSensitive) ==
                                 plainFind(text, last, half, caseSensitive));

  const std::string result = korvane::GetStringBetween(text, first, last, caseSensitive);
  if (text.empty() || found == std::string_view::npos) {
    FUZZ_CHECK(result.empty());
    return 0;
  }

  const std::string_view effectiveLast = !first.empty() && last.empty() ? " " : last;
  const bool join = sameFolded(first, " inner join ") && sameFolded(effectiveLast, " on ");
  if (join && result.starts_with(" INNER JOIN ")) {
    FUZZ_CHECK(result.size() >= 16 && result.ends_with(" On "));
    const std::string_view inner = std::string_view(result).substr(12, result.size() - 16);
    FUZZ_CHECK(trimmed(inner) && text.find(inner) != std::string_view::npos);
    return 0;
  }

  FUZZ_CHECK(trimmed(result));
  // Cut from the text after the marker (the marker itself when it stands at the beginning).
  FUZZ_CHECK(text.find(result, found == 0 ? 0 : found + 1) != std::string_view::npos);
  FUZZ_CHECK(join || effectiveLast.empty() || result.empty() ||
             plainFind(result, effectiveLast, 0, caseSensitive) == std::string_view::npos);
  FUZZ_CHECK(!first.empty() || !last.empty() || result.empty());
  return 0;
}
