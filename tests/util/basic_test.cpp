// Value semantics of a run, the code page and the run buffer.

#include "util/basic.h"

#include "support/files.h"
#include "util/codepage.h"
#include "util/run_buffer.h"

#include <cmath>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <limits>

namespace korvane {
namespace {

using test::cp;

// Matches a step that throws a Failure of this kind.
auto failsWith(FailureKind kind) {
  return testing::Throws<Failure>(testing::Property(&Failure::kind, kind));
}

TEST(LeadingNumber, ReadsTheNumberAtTheStartOfText) {
  const struct {
    std::string text;
    double expected;
  } cases[] = {{"", 0},   {"abc", 0},      {"250,000", 250}, {" \t\r\n42", 42},  {"-12500", -12500},
               {"+7", 7}, {"1 2 3", 123},  {"2.5", 2.5},     {".5", 0.5},        {"1E+2x", 100},
               {"3e", 3}, {cp("£250"), 0}, {"-", 0},         {"(100) 000-0x", 0}};
  for (const auto& c : cases) EXPECT_EQ(leadingNumber(c.text), c.expected) << c.text;
}

TEST(NumberText, IsTheShortestTextThatReadsBackTheSame) {
  const struct {
    double value;
    const char* text;
  } cases[] = {{0, "0"},     {-0.0, "0"},  {262500, "262500"},          {-12500, "-12500"},
               {0.1, "0.1"}, {2.5, "2.5"}, {2147483648.0, "2147483648"}};
  for (const auto& c : cases) EXPECT_EQ(numberText(c.value), c.text) << c.value;
  for (double v : {1.0 / 3, 12345.678, 1e20, -3.25e-7})
    EXPECT_EQ(leadingNumber(numberText(v)), v) << numberText(v);
}

TEST(WholeNumbers, RoundHalvesToTheEvenNeighbourAndOverflowOutsideTheRange) {
  const struct {
    double value;
    int expected;
  } cases[] = {{563.5, 564}, {562.5, 562},     {0.5, 0},          {-1.5, -2},
               {2.4999, 2},  {32767.4, 32767}, {-32768.5, -32768}};
  for (const auto& c : cases) {
    EXPECT_EQ(toInt16(c.value), c.expected) << c.value;
    EXPECT_EQ(toInt32(c.value), c.expected) << c.value;
  }
  for (double v : {32767.5, -32768.6, std::nan("")})
    EXPECT_THAT([&] { toInt16(v); }, failsWith(FailureKind::Overflow)) << v;
  EXPECT_EQ(toInt32(-2147483648.5), -2147483648LL);
  for (double v : {2147483647.5, -2147483649.0, std::numeric_limits<double>::infinity()})
    EXPECT_THAT([&] { toInt32(v); }, failsWith(FailureKind::Overflow)) << v;
}

TEST(TextToInt16, AcceptsOnlyOneWholeNumber) {
  const struct {
    const char* text;
    int expected;
  } good[] = {{" 12 ", 12}, {"-5", -5}, {"2.5", 2}, {"3.5", 4}, {"1e3", 1000}, {"-32768", -32768}};
  for (const auto& c : good) EXPECT_EQ(textToInt16(c.text), c.expected) << c.text;
  const struct {
    const char* text;
    FailureKind kind;
  } bad[] = {{"", FailureKind::TypeMismatch},      {"   ", FailureKind::TypeMismatch},
             {"12abc", FailureKind::TypeMismatch}, {"1 2", FailureKind::TypeMismatch},
             {"-", FailureKind::TypeMismatch},     {"32768", FailureKind::Overflow},
             {"-32769", FailureKind::Overflow}};
  for (const auto& c : bad) EXPECT_THAT([&] { textToInt16(c.text); }, failsWith(c.kind)) << c.text;
}

TEST(CheckedArithmetic, FailsExactlyWhenTheResultLeavesSixteenBits) {
  EXPECT_EQ(add16(32766, 1), 32767);
  EXPECT_EQ(sub16(-32767, 1), -32768);
  EXPECT_EQ(mul16(181, 181), 32761);
  EXPECT_EQ(intDiv16(-7, 2), -3);
  for (auto step : {+[] { add16(32767, 1); }, +[] { sub16(-32768, 1); }, +[] { mul16(182, 182); },
                    +[] { intDiv16(-32768, -1); }})
    EXPECT_THAT(step, failsWith(FailureKind::Overflow));
  EXPECT_THAT([] { intDiv16(1, 0); }, failsWith(FailureKind::DivisionByZero));
}

TEST(Codepage, MapsWindows1252ToUtf8AndBack) {
  const struct {
    const char* bytes;
    const char* utf8;
  } cases[] = {{"\xA3", "£"}, {"\x80", "€"}, {"\x93q\x94", "“q”"}, {"\x9F", "Ÿ"}, {"\xE9", "é"}};
  for (const auto& c : cases) {
    EXPECT_EQ(cp1252ToUtf8(c.bytes), c.utf8);
    EXPECT_EQ(utf8ToCp1252(c.utf8), c.bytes);
  }
  std::string all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  EXPECT_EQ(utf8ToCp1252(cp1252ToUtf8(all)), all);
  for (const auto& [utf8, bytes] : {std::pair{"ŵ", "?"}, {"a\xFF", "a?"}, {"\xC0\xAF", "??"}})
    EXPECT_EQ(utf8ToCp1252(utf8), bytes);
  // A page's text is shown as UTF-8 only when it is valid UTF-8 with multi-byte characters.
  EXPECT_EQ(displayUtf8("Ffordd Tŷ Dŵr"), "Ffordd Tŷ Dŵr");
  EXPECT_EQ(displayUtf8(cp("£250")), "£250");
}

TEST(RunBuffer, HoldsTextsUnderItsOwnNamesInAnyCase) {
  RunBuffer buffer;
  buffer.setText("txt_htmlsource", "page");
  EXPECT_EQ(buffer.text("TXT_HTMLSOURCE"), "page");
  for (const char* unknown : {"txt_postcode", "Frame1", ""})
    EXPECT_THROW(buffer.setText(unknown, "x"), std::out_of_range) << unknown;
}

TEST(RunBuffer, AnotherValuationEmptiesThePageAndFigureFieldsOnly) {
  const char* const emptied[] = {"txt_5years",     "txt_avgclose",    "txt_dump",
                                 "txt_estdval",    "txt_houseprices", "txt_housetext",
                                 "txt_housetext2", "txt_htmlsource",  "txt_nohtmlsource",
                                 "txt_num",        "txt_num1"};
  const char* const kept[] = {"lbl_estdhouseprice", "lbl_period", "lbl_streetname",  "GPH_1year",
                              "GPH_5year",          "gph_array",  "gph_marketarray", "Text4"};
  RunBuffer buffer;
  for (const char* name : emptied) buffer.setText(name, "page");
  for (const char* name : kept) buffer.setText(name, "kept");
  buffer.clearForAnotherValuation();
  for (const char* name : emptied) EXPECT_EQ(buffer.text(name), "") << name;
  for (const char* name : kept) EXPECT_EQ(buffer.text(name), "kept") << name;
}

}  // namespace
}  // namespace korvane
