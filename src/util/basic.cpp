#include "util/basic.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace korvane {

namespace {

const char* kindName(FailureKind kind) {
  switch (kind) {
    case FailureKind::Overflow: return "Overflow";
    case FailureKind::DivisionByZero: return "Division by zero";
    case FailureKind::TypeMismatch: return "Type mismatch";
    case FailureKind::IndexOutOfRange: return "Subscript out of range";
    case FailureKind::FileError: return "File error";
  }
  return "Failure";
}

int kindNumber(FailureKind kind) {
  switch (kind) {
    case FailureKind::Overflow: return 6;
    case FailureKind::DivisionByZero: return 11;
    case FailureKind::TypeMismatch: return 13;
    case FailureKind::IndexOutOfRange: return 9;
    case FailureKind::FileError: return 0;
  }
  return 0;
}

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Reads a number in the form [sign] digits [. digits] [e|E|d|D [sign] digits] from text, from
// position i, passing over blanks when skipBlanks. Leaves i after the last character used and
// returns the text of the number normalised for strtod ("" when there is none).
std::string scanNumber(std::string_view text, std::size_t& i, bool skipBlanks) {
  auto skip = [&] {
    while (skipBlanks && i < text.size() && isBlank(text[i])) ++i;
  };
  std::string out;
  skip();
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    if (text[i] == '-') out += '-';
    ++i;
    skip();
  }
  bool digits = false;
  auto readDigits = [&] {
    for (;;) {
      skip();
      if (i < text.size() && isDigit(text[i])) {
        out += text[i++];
        digits = true;
      } else {
        return;
      }
    }
  };
  readDigits();
  if (i < text.size() && text[i] == '.') {
    out += '.';
    ++i;
    readDigits();
  }
  if (!digits) return {};
  // An exponent only counts when digits follow it.
  std::size_t save = i;
  std::string saveOut = out;
  skip();
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E' || text[i] == 'd' || text[i] == 'D')) {
    ++i;
    out += 'e';
    skip();
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) out += text[i++];
    bool expDigits = false;
    for (;;) {
      skip();
      if (i < text.size() && isDigit(text[i])) {
        out += text[i++];
        expDigits = true;
      } else {
        break;
      }
    }
    if (!expDigits) {
      i = save;
      out = saveOut;
    }
  } else {
    i = save;
  }
  return out;
}

double parseScanned(const std::string& number) {
  double value = 0;
  auto [ptr, ec] = std::from_chars(number.data(), number.data() + number.size(), value);
  if (ec == std::errc::result_out_of_range) {
    // from_chars leaves value untouched on range errors; keep the direction of the overflow.
    bool negativeExponent = number.find("e-") != std::string::npos;
    if (negativeExponent) return 0.0;
    return number.starts_with('-') ? -std::numeric_limits<double>::infinity()
                                   : std::numeric_limits<double>::infinity();
  }
  return value;
}

template <class Int>
Int toWhole(double value) {
  if (std::isnan(value)) throw Failure(FailureKind::Overflow);
  double rounded = std::nearbyint(value);  // default rounding mode: ties to even
  if (rounded < static_cast<double>(std::numeric_limits<Int>::min()) ||
      rounded > static_cast<double>(std::numeric_limits<Int>::max())) {
    throw Failure(FailureKind::Overflow);
  }
  return static_cast<Int>(rounded);
}

std::int16_t checked16(std::int64_t value) {
  if (value < std::numeric_limits<std::int16_t>::min() ||
      value > std::numeric_limits<std::int16_t>::max()) {
    throw Failure(FailureKind::Overflow);
  }
  return static_cast<std::int16_t>(value);
}

}  // namespace

Failure::Failure(FailureKind kind, int number, std::string description)
    : std::runtime_error(description.empty() ? kindName(kind) : description),
      m_kind(kind),
      m_number(number != 0 ? number : kindNumber(kind)),
      m_description(description.empty() ? kindName(kind) : std::move(description)) {}

double leadingNumber(std::string_view text) {
  std::size_t i = 0;
  std::string number = scanNumber(text, i, true);
  return number.empty() ? 0.0 : parseScanned(number);
}

std::string numberText(double value) {
  if (value == 0) return "0";  // also for -0
  if (std::isnan(value)) return "NaN";
  if (std::isinf(value)) return value < 0 ? "-Infinity" : "Infinity";
  char buffer[64];
  if (value == std::trunc(value) && std::fabs(value) < 1e15) {
    auto end = std::to_chars(buffer, buffer + sizeof buffer, static_cast<long long>(value)).ptr;
    return std::string(buffer, end);
  }
  auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
  return std::string(buffer, end);
}

std::int16_t toInt16(double value) { return toWhole<std::int16_t>(value); }
std::int32_t toInt32(double value) { return toWhole<std::int32_t>(value); }

std::int16_t textToInt16(std::string_view text) {
  std::size_t begin = 0;
  std::size_t end = text.size();
  while (begin < end && isBlank(text[begin])) ++begin;
  while (end > begin && isBlank(text[end - 1])) --end;
  std::string_view core = text.substr(begin, end - begin);
  std::size_t i = 0;
  std::string number = scanNumber(core, i, false);
  if (number.empty() || i != core.size()) throw Failure(FailureKind::TypeMismatch);
  return toInt16(parseScanned(number));
}

std::int16_t add16(std::int32_t a, std::int32_t b) {
  return checked16(static_cast<std::int64_t>(a) + b);
}
std::int16_t sub16(std::int32_t a, std::int32_t b) {
  return checked16(static_cast<std::int64_t>(a) - b);
}
std::int16_t mul16(std::int32_t a, std::int32_t b) {
  return checked16(static_cast<std::int64_t>(a) * b);
}
std::int16_t intDiv16(std::int32_t a, std::int32_t b) {
  if (b == 0) throw Failure(FailureKind::DivisionByZero);
  return checked16(static_cast<std::int64_t>(a) / b);
}

}  // namespace korvane
