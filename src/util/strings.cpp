#include "util/strings.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <vector>

namespace korvane {

namespace {

// Windows-1252 lower-case folding: ASCII, the accented Latin-1 letters and Š Œ Ž Ÿ.
constexpr std::array<unsigned char, 256> makeFoldTable() {
  std::array<unsigned char, 256> table{};
  for (int c = 0; c < 256; ++c) table[c] = static_cast<unsigned char>(c);
  for (int c = 'A'; c <= 'Z'; ++c) table[c] = static_cast<unsigned char>(c + 32);
  for (int c = 0xC0; c <= 0xDE; ++c) {
    if (c != 0xD7) table[c] = static_cast<unsigned char>(c + 32);
  }
  table[0x8A] = 0x9A;
  table[0x8C] = 0x9C;
  table[0x8E] = 0x9E;
  table[0x9F] = 0xFF;
  return table;
}

constexpr std::array<unsigned char, 256> kFold = makeFoldTable();

unsigned char fold(char c) { return kFold[static_cast<unsigned char>(c)]; }

// The other case of each byte (the byte itself when it has none).
constexpr std::array<unsigned char, 256> makePartnerTable() {
  std::array<unsigned char, 256> partner{};
  for (int c = 0; c < 256; ++c) partner[c] = static_cast<unsigned char>(c);
  for (int c = 0; c < 256; ++c) {
    if (kFold[c] != c) {
      partner[c] = kFold[c];
      partner[kFold[c]] = static_cast<unsigned char>(c);
    }
  }
  return partner;
}

constexpr std::array<unsigned char, 256> kPartner = makePartnerTable();

bool hasCasedByte(std::string_view text) {
  for (char c : text) {
    unsigned char u = static_cast<unsigned char>(c);
    if (kPartner[u] != u) return true;
  }
  return false;
}

bool sameFolded(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (fold(a[i]) != fold(b[i])) return false;
  }
  return true;
}

// Knuth-Morris-Pratt on folded bytes: guaranteed linear, used when the faster scan below meets a
// text that makes it compare too much.
std::size_t findFoldedLinear(std::string_view text, std::string_view needle, std::size_t from) {
  const std::size_t m = needle.size();
  std::vector<std::size_t> border(m + 1, 0);
  for (std::size_t i = 1, k = 0; i < m; ++i) {
    while (k > 0 && fold(needle[i]) != fold(needle[k])) k = border[k];
    if (fold(needle[i]) == fold(needle[k])) ++k;
    border[i + 1] = k;
  }
  for (std::size_t i = from, k = 0; i < text.size(); ++i) {
    while (k > 0 && fold(text[i]) != fold(needle[k])) k = border[k];
    if (fold(text[i]) == fold(needle[k])) ++k;
    if (k == m) return i + 1 - m;
  }
  return std::string_view::npos;
}

// Matches one needle byte in either case with one OR and one compare: the bits in which its two
// cases differ are set on both sides.
struct CaseKey {
  explicit CaseKey(char c) {
    unsigned char u = static_cast<unsigned char>(c);
    bits = static_cast<unsigned char>(u ^ kPartner[u]);
    key = static_cast<unsigned char>(u | bits);
  }
  bool matches(char c) const { return (static_cast<unsigned char>(c) | bits) == key; }
  unsigned char bits;
  unsigned char key;
};

using Block = unsigned char __attribute__((vector_size(16)));

Block loadBlock(const char* at) {
  Block block;
  std::memcpy(&block, at, sizeof block);
  return block;
}

Block broadcast(unsigned char value) {
  Block block;
  for (int i = 0; i < 16; ++i) block[i] = value;
  return block;
}

// The folded search of a long page: sixteen positions at a time, a position is a candidate when
// the needle's first and last bytes match there in either case; candidates are then compared
// whole. The comparisons are counted, and a text that makes nearly every position a candidate is
// handed to the linear search, so the time stays linear in the text.
std::size_t findFolded(std::string_view text, std::string_view needle, std::size_t from) {
  const std::size_t m = needle.size();
  const std::size_t n = text.size();
  if (m > n || from > n - m) return std::string_view::npos;
  const std::size_t end = n - m + 1;  // candidate positions lie below end
  const CaseKey first(needle.front());
  const CaseKey last(needle.back());
  const std::size_t budget = 4 * (n - from) + m;
  std::size_t compared = 0;
  // 0 no match, 1 match, 2 give the rest to the linear search.
  auto check = [&](std::size_t pos) {
    // The keys also let through bytes that differ from a case of the end bytes only in the case
    // bits (0xDF and 0xBF for 0xFF, whose cases differ in two bits), so the ends are folded too.
    if (fold(text[pos]) != fold(needle.front()) || fold(text[pos + m - 1]) != fold(needle.back())) {
      return 0;
    }
    std::size_t i = 1;
    while (i + 1 < m && fold(text[pos + i]) == fold(needle[i])) ++i;
    if (i + 1 >= m) return 1;
    compared += i;
    return compared > budget ? 2 : 0;
  };

  const Block firstBits = broadcast(first.bits), firstKey = broadcast(first.key);
  const Block lastBits = broadcast(last.bits), lastKey = broadcast(last.key);
  std::size_t pos = from;
  for (; pos + 16 <= end; pos += 16) {
    auto hit = ((loadBlock(text.data() + pos) | firstBits) == firstKey) &
               ((loadBlock(text.data() + pos + m - 1) | lastBits) == lastKey);
    std::uint64_t halves[2];
    std::memcpy(halves, &hit, sizeof halves);
    if ((halves[0] | halves[1]) == 0) continue;
    for (std::size_t lane = 0; lane < 16; ++lane) {
      if (hit[lane] == 0) continue;
      int result = check(pos + lane);
      if (result == 1) return pos + lane;
      if (result == 2) return findFoldedLinear(text, needle, pos + lane + 1);
    }
  }
  for (; pos < end; ++pos) {
    if (!first.matches(text[pos]) || !last.matches(text[pos + m - 1])) continue;
    int result = check(pos);
    if (result == 1) return pos;
    if (result == 2) return findFoldedLinear(text, needle, pos + 1);
  }
  return std::string_view::npos;
}

// Position of the last occurrence of needle in text, or npos.
std::size_t findLastText(std::string_view text, std::string_view needle, bool caseSensitive) {
  if (caseSensitive || !hasCasedByte(needle)) return text.rfind(needle);
  if (needle.size() > text.size()) return std::string_view::npos;
  for (std::size_t pos = text.size() - needle.size() + 1; pos-- > 0;) {
    if (sameFolded(text.substr(pos, needle.size()), needle)) return pos;
  }
  return std::string_view::npos;
}

}  // namespace

std::string_view trimSpaces(std::string_view text) {
  std::size_t begin = text.find_first_not_of(' ');
  if (begin == std::string_view::npos) return {};
  std::size_t end = text.find_last_not_of(' ');
  return text.substr(begin, end - begin + 1);
}

std::size_t findText(std::string_view text, std::string_view needle, std::size_t from,
                     bool caseSensitive) {
  if (needle.empty()) return from <= text.size() ? from : std::string_view::npos;
  // Markers without letters (the pound sign, a comma) need no folding: the library search is
  // fastest for them.
  if (caseSensitive || !hasCasedByte(needle)) return text.find(needle, from);
  return findFolded(text, needle, from);
}

std::string_view textAfterMarker(std::string_view text, std::string_view first,
                                 bool caseSensitive) {
  if (text.empty()) return {};
  std::size_t found = first.empty() ? 0 : findText(text, first, 0, caseSensitive);
  if (found == std::string_view::npos) return {};
  if (found == 0) return trimSpaces(text);
  // The cut starts one character past the trimmed marker's length: when the marker has no spaces
  // at its ends, the character right after it is left out.
  std::size_t start = found + 1 + trimSpaces(first).size();
  if (start >= text.size()) return {};
  return trimSpaces(text.substr(start));
}

std::string GetStringBetween(std::string_view strCompleteString, std::string_view strFirst,
                             std::string_view strLast, bool bCaseSensitive) {
  if (strCompleteString.empty()) return {};
  std::string_view last = strLast;
  if (!strFirst.empty() && last.empty()) last = " ";
  std::string_view rest = textAfterMarker(strCompleteString, strFirst, bCaseSensitive);

  if (sameFolded(strFirst, " inner join ") && sameFolded(last, " on ")) {
    std::size_t on = findLastText(rest, last, bCaseSensitive);
    if (on == std::string_view::npos || rest.empty()) return std::string(rest);
    return " INNER JOIN " + std::string(trimSpaces(rest.substr(0, on))) + " On ";
  }

  // An empty end marker (with an empty start marker) is found at once in a non-empty remainder.
  if (rest.empty()) return {};
  std::size_t end = findText(rest, last, 0, bCaseSensitive);
  if (end == std::string_view::npos) return std::string(rest);
  return std::string(trimSpaces(rest.substr(0, end)));
}

std::string NumberOrNoNumber(std::string_view StrToCheck, bool Numbers,
                             std::string* NumericTextTarget, std::string* TextualTextTarget) {
  std::string digits;
  std::string others;
  for (char c : StrToCheck) {
    if (c >= '0' && c <= '9') {
      digits += c;
    } else {
      others += c;
    }
  }
  std::string result = Numbers ? digits : others;
  if (NumericTextTarget) *NumericTextTarget = std::move(digits);
  if (TextualTextTarget) *TextualTextTarget = std::move(others);
  return result;
}

std::string Format_Telephone_Number(std::string_view Telnum) {
  const std::size_t n = Telnum.size();
  if (n <= 5) return std::string(Telnum);
  if (n == 6) return std::string(Telnum.substr(0, 3));
  std::string out = "(";
  out += Telnum.substr(0, 3);
  out += ") ";
  out += Telnum.substr(3, 3);
  out += "-";
  out += Telnum.substr(6, 4);
  out += "x";
  if (n > 10) out += Telnum.substr(10);
  return out;
}

std::vector<std::string_view> splitValues(std::string_view series) {
  std::vector<std::string_view> parts;
  if (series.empty()) return parts;
  std::size_t start = 0;
  for (;;) {
    std::size_t comma = series.find(',', start);
    if (comma == std::string_view::npos) {
      parts.push_back(series.substr(start));
      return parts;
    }
    parts.push_back(series.substr(start, comma - start));
    start = comma + 1;
  }
}

}  // namespace korvane
