#pragma once

// Value semantics of a run: every value is text, numbers are read from the start of a text and
// written back as their shortest decimal text, and 16/32-bit whole numbers are checked.

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>

namespace korvane {

enum class FailureKind { Overflow, DivisionByZero, TypeMismatch, IndexOutOfRange, FileError };

// The one runtime failure of the program. Steps that may be skipped run inside attempt().
class Failure : public std::runtime_error {
 public:
  explicit Failure(FailureKind kind, int number = 0, std::string description = {});
  FailureKind kind() const { return m_kind; }
  // For FileError: the system's error number (errno); otherwise the kind's conventional number.
  int number() const { return m_number; }
  const std::string& description() const { return m_description; }

 private:
  FailureKind m_kind;
  int m_number;
  std::string m_description;
};

// Runs step(); returns true when it finished, false when it threw a Failure (which is swallowed).
// Any other exception passes through: programming errors are never hidden.
template <class Step>
bool attempt(Step&& step) {
  try {
    std::forward<Step>(step)();
    return true;
  } catch (const Failure&) {
    return false;
  }
}

// The number at the start of text: blanks (space, tab, CR, LF) are passed over, then an optional
// sign, digits, a decimal point and an exponent are read; blanks inside the number are passed over
// too. Returns 0 when the text does not start with a number. Never fails.
double leadingNumber(std::string_view text);

// The shortest decimal text of value: whole numbers without point or separators ("262500",
// "-12500"), others with as few digits as read back the same ("0.1"). Never fails.
std::string numberText(double value);

// value rounded to the nearest whole number, ties to the even neighbour.
// Throws Failure(Overflow) when the result lies outside the target range or value is NaN.
std::int16_t toInt16(double value);
std::int32_t toInt32(double value);

// Strict conversion of a whole text to a 16-bit number: surrounding blanks allowed, otherwise the
// text must be one number (sign, digits, point, exponent). Throws Failure(TypeMismatch) for empty
// or non-numeric text, Failure(Overflow) when the rounded value does not fit.
std::int16_t textToInt16(std::string_view text);

// Checked 16-bit arithmetic: throws Failure(Overflow) when the exact result does not fit, and
// Failure(DivisionByZero) for a zero divisor. intDiv16 truncates towards zero.
std::int16_t add16(std::int32_t a, std::int32_t b);
std::int16_t sub16(std::int32_t a, std::int32_t b);
std::int16_t mul16(std::int32_t a, std::int32_t b);
std::int16_t intDiv16(std::int32_t a, std::int32_t b);

}  // namespace korvane
