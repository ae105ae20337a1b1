// How the sample listing writes its pages: money, dates, escaping, and what the pages hold.

#include "listing/page_text.h"
#include "listing/sales_data.h"
#include "listing/sold_prices_page.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <string>

namespace korvane::listing {
namespace {

using testing::HasSubstr;
using testing::Not;

TEST(SamplePagesTest, PoundsCarryThePoundSignAndThousandsSeparators) {
  static const struct {
    long pounds;
    const char* text;
  } cases[] = {
      {0,
       "\xC2\xA3"
       "0"},
      {999,
       "\xC2\xA3"
       "999"},
      {1000,
       "\xC2\xA3"
       "1,000"},
      {85000,
       "\xC2\xA3"
       "85,000"},
      {250000,
       "\xC2\xA3"
       "250,000"},
      {1875000,
       "\xC2\xA3"
       "1,875,000"},
      {12345678,
       "\xC2\xA3"
       "12,345,678"},
      {-1500,
       "-\xC2\xA3"
       "1,500"},
  };
  for (const auto& c : cases) EXPECT_EQ(formatPounds(c.pounds), c.text) << c.pounds;
}

TEST(SamplePagesTest, UnknownPostcodePageEchoesThePostcodeSafely) {
  const std::string page = noSalesPage("<script>alert(1)</script>");
  EXPECT_THAT(page, HasSubstr("&lt;script&gt;alert(1)&lt;/script&gt;"));
  EXPECT_THAT(page, Not(HasSubstr("<script>alert")));
}

TEST(SamplePagesTest, SoldPricesPageListsEverySaleNewestFirst) {
  Street street{"LS6 3BR",
                "Brudenell Grove",
                {{"4", "2021-03-04", 240000},
                 {"Rose Cottage", "2024-01-02", 262500},
                 {"17a", "2022-07-08", 251000}}};
  const std::string page = soldPricesPage(street);
  const size_t newest = page.find("Rose Cottage Brudenell Grove");
  const size_t middle = page.find("17a Brudenell Grove");
  const size_t oldest = page.find("4 Brudenell Grove");
  ASSERT_NE(oldest, std::string::npos);
  EXPECT_LT(newest, middle);
  EXPECT_LT(middle, oldest);
  EXPECT_THAT(page, HasSubstr("\xC2\xA3"
                              "262,500"));
  EXPECT_THAT(page, HasSubstr("Brudenell Grove, \xC2\xA3"
                              "251,000 average"));
  EXPECT_THAT(page, HasSubstr("<meta charset=\"utf-8\">"));
}

TEST(SamplePagesTest, NamesFromTheDataAreEscapedInThePage) {
  Street street{"B1 1AA", "Fish & Chip <Row>", {{"The \"Old\" Shop", "2021-03-04", 90000}}};
  const std::string page = soldPricesPage(street);
  EXPECT_THAT(page, HasSubstr("Show <b>Fish &amp; Chip &lt;Row&gt;</b> only"));
  EXPECT_THAT(page, HasSubstr("The &quot;Old&quot; Shop"));
  EXPECT_THAT(page, Not(HasSubstr("<Row>")));
}

}  // namespace
}  // namespace korvane::listing
