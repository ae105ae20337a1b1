#include "util/basic.h"

#include <cmath>
#include <limits>

#include <gtest/gtest.h>

namespace korvane {
namespace {

// --- Leading-number conversion -----------------------------------------------------------------

TEST(LeadingNumber, ReadsTheNumberAtTheStartOfText) {
  static const struct {
    const char* text;
    double expected;
  } cases[] = {
      {"", 0},
      {"abc", 0},
      {"250", 250},
      {"250000", 250000},
      {"  250", 250},
      {"\t\r\n42", 42},
      {"250abc", 250},
      {"250,000", 250},
      {"-12500", -12500},
      {"+7", 7},
      {"1 2 3", 123},
      {"2.5", 2.5},
      {".5", 0.5},
      {"1e3", 1000},
      {"1E+2x", 100},
      {"3e", 3},
      {"(100) 000-0x", 0},
      {"\xA3" "250", 0},
      {"-", 0},
      {".", 0},
      {"000", 0},
  };
  for (const auto& c : cases) EXPECT_EQ(leadingNumber(c.text), c.expected) << '"' << c.text << '"';
}

// --- Shortest decimal text ---------------------------------------------------------------------

TEST(NumberText, WritesWholeNumbersWithoutPointOrSeparators) {
  static const struct {
    double value;
    const char* expected;
  } cases[] = {
      {0, "0"},          {-0.0, "0"},          {262500, "262500"},  {-12500, "-12500"},
      {1312500, "1312500"}, {0.1, "0.1"},     {2.5, "2.5"},        {2147483648.0, "2147483648"},
  };
  for (const auto& c : cases) EXPECT_EQ(numberText(c.value), c.expected) << c.value;
}

TEST(NumberText, ReadsBackTheSameValue) {
  for (double v : {0.1, 1.0 / 3, 12345.678, 1e20, -3.25e-7}) {
    EXPECT_EQ(leadingNumber(numberText(v)), v) << numberText(v);
  }
}

// --- 16- and 32-bit whole numbers --------------------------------------------------------------

TEST(WholeNumbers, RoundHalvesToTheEvenNeighbour) {
  static const struct {
    double value;
    int expected;
  } cases[] = {
      {563.5, 564}, {562.5, 562}, {0.5, 0}, {1.5, 2}, {-0.5, 0}, {-1.5, -2}, {2.4999, 2},
      {32767.4, 32767}, {-32768.5, -32768}, {32766.5, 32766},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(toInt16(c.value), c.expected) << c.value;
    EXPECT_EQ(toInt32(c.value), c.expected) << c.value;
  }
}

TEST(WholeNumbers, OutsideTheRangeIsAnOverflow) {
  for (double v : {32767.5, 32768.0, -32768.6, -40000.0, std::nan("")}) {
    try {
      toInt16(v);
      ADD_FAILURE() << v << " did not overflow";
    } catch (const Failure& f) {
      EXPECT_EQ(f.kind(), FailureKind::Overflow) << v;
    }
  }
  EXPECT_EQ(toInt32(2147483647.4), 2147483647);
  EXPECT_EQ(toInt32(-2147483648.5), -2147483648LL);
  EXPECT_THROW(toInt32(2147483647.5), Failure);
  EXPECT_THROW(toInt32(-2147483649.0), Failure);
  EXPECT_THROW(toInt32(std::numeric_limits<double>::infinity()), Failure);
}

TEST(TextToInt16, AcceptsOnlyAWholeNumericText) {
  static const struct {
    const char* text;
    int expected;
  } good[] = {{"0", 0}, {"900", 900}, {" 12 ", 12}, {"-5", -5}, {"2.5", 2}, {"3.5", 4},
              {"1e3", 1000}, {"32767", 32767}, {"-32768", -32768}};
  for (const auto& c : good) EXPECT_EQ(textToInt16(c.text), c.expected) << c.text;

  static const struct {
    const char* text;
    FailureKind kind;
  } bad[] = {{"", FailureKind::TypeMismatch},     {"   ", FailureKind::TypeMismatch},
             {"abc", FailureKind::TypeMismatch},  {"12abc", FailureKind::TypeMismatch},
             {"1 2", FailureKind::TypeMismatch},  {"-", FailureKind::TypeMismatch},
             {"40000", FailureKind::Overflow},    {"32768", FailureKind::Overflow},
             {"-32769", FailureKind::Overflow}};
  for (const auto& c : bad) {
    try {
      textToInt16(c.text);
      ADD_FAILURE() << '"' << c.text << "\" was accepted";
    } catch (const Failure& f) {
      EXPECT_EQ(f.kind(), c.kind) << c.text;
    }
  }
}

TEST(CheckedArithmetic, FailsExactlyWhenTheResultLeavesSixteenBits) {
  EXPECT_EQ(add16(32766, 1), 32767);
  EXPECT_THROW(add16(32767, 1), Failure);
  EXPECT_EQ(sub16(-32767, 1), -32768);
  EXPECT_THROW(sub16(-32768, 1), Failure);
  EXPECT_EQ(mul16(181, 181), 32761);
  EXPECT_THROW(mul16(182, 182), Failure);
  EXPECT_EQ(intDiv16(-7, 2), -3);
  EXPECT_THROW(intDiv16(-32768, -1), Failure);
  try {
    intDiv16(1, 0);
    ADD_FAILURE();
  } catch (const Failure& f) {
    EXPECT_EQ(f.kind(), FailureKind::DivisionByZero);
  }
}

// --- Failures and attempt() --------------------------------------------------------------------

TEST(Attempt, SwallowsFailuresOnlyAndSaysWhetherTheStepFinished) {
  int reached = 0;
  EXPECT_TRUE(attempt([&] { reached = 1; }));
  EXPECT_EQ(reached, 1);
  EXPECT_FALSE(attempt([&] {
    reached = 2;
    toInt16(1e9);
    reached = 3;
  }));
  EXPECT_EQ(reached, 2);
  EXPECT_THROW(attempt([] { throw std::logic_error("bug"); }), std::logic_error);
}

TEST(Failure, CarriesTheFileErrorNumberAndDescription) {
  Failure f(FailureKind::FileError, 2, "No such file or directory");
  EXPECT_EQ(f.number(), 2);
  EXPECT_EQ(f.description(), "No such file or directory");
  EXPECT_STREQ(f.what(), "No such file or directory");
}

}  // namespace
}  // namespace korvane
