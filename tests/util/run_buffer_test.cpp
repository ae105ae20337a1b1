#include "util/run_buffer.h"

#include <gtest/gtest.h>
#include <stdexcept>

namespace korvane {
namespace {

TEST(RunBuffer, StartsWithTheDesignValues) {
  RunBuffer buffer;
  static const struct {
    const char* field;
    const char* initial;
  } cases[] = {
      {"txt_htmlsource", ""},
      {"txt_nohtmlsource", "Text1"},
      {"txt_housetext", ""},
      {"txt_housetext2", "Text1"},
      {"txt_houseprices", "Text1"},
      {"txt_avgclose", "Text1"},
      {"txt_num", "Text1"},
      {"txt_num1", "Text2"},
      {"txt_estdval", "Text1"},
      {"txt_dump", "Text1"},
      {"lbl_estdhouseprice", "\xA3"},
      {"lbl_period", "0"},
      {"lbl_streetname", "NULL"},
      {"lbl_avghouseprice", "\xA3"},
      {"lbl_differencevalue", "\xA3"},
      {"GPH_Houseprice", ""},
      {"GPH_1year", ""},
      {"gph_2year", "Text3"},
      {"gph_3year", "Text2"},
      {"Gph_4year", "Text1"},
      {"GPH_5year", ""},
      {"txt_5years", "Text1"},
      {"gph_array", "Text1"},
      {"gph_marketarray", ""},
      {"Text4", "Text4"},
      {"Label16", "4         3          2          1"},
  };
  for (const auto& c : cases) EXPECT_EQ(buffer.text(c.field), c.initial) << c.field;
}

TEST(RunBuffer, ReplacesValuesWholeWithoutALengthLimit) {
  RunBuffer buffer;
  std::string page(5'000'000, 'x');
  buffer.setText("txt_htmlsource", page);
  EXPECT_EQ(buffer.text("txt_htmlsource"), page);
  buffer.setText("txt_htmlsource", "short");
  EXPECT_EQ(buffer.text("txt_htmlsource"), "short");
  EXPECT_EQ(buffer.text("TXT_HTMLSOURCE"), "short");
}

TEST(RunBuffer, RejectsNamesThatAreNotFields) {
  RunBuffer buffer;
  EXPECT_THROW(buffer.text("txt_postcode"), std::out_of_range);
  EXPECT_THROW(buffer.setText("Frame1", "x"), std::out_of_range);
  EXPECT_THROW(buffer.text(""), std::out_of_range);
}

TEST(RunBuffer, AnotherValuationEmptiesThePageAndFigureFieldsOnly) {
  const char* const emptied[] = {"txt_5years",     "txt_avgclose",    "txt_dump",
                                 "txt_estdval",    "txt_houseprices", "txt_housetext",
                                 "txt_housetext2", "txt_htmlsource",  "txt_nohtmlsource",
                                 "txt_num",        "txt_num1"};
  const char* const kept[] = {"lbl_estdhouseprice", "lbl_period",      "lbl_streetname",
                              "lbl_avghouseprice",  "GPH_1year",       "GPH_5year",
                              "gph_array",          "gph_marketarray", "Text4"};
  RunBuffer buffer;
  for (const char* name : emptied) buffer.setText(name, "page");
  for (const char* name : kept) buffer.setText(name, "kept");
  buffer.clearForAnotherValuation();
  for (const char* name : emptied) EXPECT_EQ(buffer.text(name), "") << name;
  for (const char* name : kept) EXPECT_EQ(buffer.text(name), "kept") << name;
}

}  // namespace
}  // namespace korvane
