// How the listing writes its pages: money, dates, names, post codes, escaping, and the sales.

#include "listing/page_text.h"
#include "listing/sold_prices.h"
#include "listing/sold_prices_page.h"

#include <cctype>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <string>

namespace korvane::listing {
namespace {

using testing::HasSubstr;
using testing::Not;

TEST(ListingPagesTest, PoundsCarryThePoundSignAndThousandsSeparators) {
  static const struct {
    std::int64_t pounds;
    const char* digits;
  } cases[] = {
      {0, "0"},
      {999, "999"},
      {1000, "1,000"},
      {250000, "250,000"},
      {1875000, "1,875,000"},
      {12345678, "12,345,678"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(formatPounds(c.pounds), std::string("\xC2\xA3") + c.digits) << c.pounds;
  EXPECT_EQ(formatPounds(-1500),
            "-\xC2\xA3"
            "1,500");
}

TEST(ListingPagesTest, NamesInCapitalsAreShownInTitleCase) {
  static const struct {
    const char* recorded;
    const char* shown;
  } cases[] = {
      {"HIGH STREET", "High Street"},
      {"ST. JOHN'S ROAD", "St. John's Road"},
      {"1ST AVENUE", "1st Avenue"},
      {"WESTON-SUPER-MARE", "Weston-Super-Mare"},
      {"FLAT 3", "Flat 3"},
      {"", ""},
      {"Heol y Frenhines", "Heol y Frenhines"},  // lower-case letters: shown as recorded
      {"Ffordd T\xC5\xB7 D\xC5\xB5r", "Ffordd T\xC5\xB7 D\xC5\xB5r"},
  };
  for (const auto& c : cases) EXPECT_EQ(displayName(c.recorded), c.shown) << c.recorded;
}

TEST(ListingPagesTest, DatesAndPostcodesAreWrittenForReading) {
  EXPECT_EQ(formatSaleDate(20191118), "18 Nov 2019");
  EXPECT_EQ(formatSaleDate(20240101), "1 Jan 2024");
  EXPECT_EQ(displayPostcode("CF103NQ"), "CF10 3NQ");
  EXPECT_EQ(displayPostcode("W42JF"), "W4 2JF");
  EXPECT_EQ(displayPostcode("W42"), "W42");
}

TEST(ListingPagesTest, SoldPricesPageShowsEachSaleAndTheAverage) {
  const StreetSales street{"LS63BR",
                           "BRUDENELL GROVE",
                           5,
                           20240102,
                           {{20240102, 262500, "S", "Y", "L", "ROSE COTTAGE", ""},
                            {20220708, 251000, "F", "N", "L", "17A", "FLAT 2"},
                            {20210304, 240000, "X", "N", "F", "4", ""}}};
  const std::string page = soldPricesPage(street, "footnote");
  EXPECT_THAT(page, HasSubstr("post codes starting LS6 3BR"));
  EXPECT_THAT(page, HasSubstr("Show <b>Brudenell Grove</b> only"));
  EXPECT_THAT(page, HasSubstr("<td>2 Jan 2024</td><td>Rose Cottage Brudenell Grove</td>"
                              "<td>Semi-detached</td><td>Leasehold</td><td>Yes</td>"));
  EXPECT_THAT(page, HasSubstr("<td>Flat 2, 17a Brudenell Grove</td><td>Flat or maisonette</td>"));
  EXPECT_THAT(page, HasSubstr("<td>X</td><td>Freehold</td><td>No</td>"));
  EXPECT_THAT(page, HasSubstr("Brudenell Grove, \xC2\xA3"
                              "251,000 average"));
  EXPECT_THAT(page, HasSubstr("<p>footnote</p>"));
}

TEST(ListingPagesTest, TextFromTheDataIsEscaped) {
  const StreetSales street{"B11AA",
                           "Fish & Chip <Row>",
                           5,
                           20240102,
                           {{20240102, 90000, "T", "N", "F", "The \"Old\" Shop", ""}}};
  const std::string page = soldPricesPage(street, "");
  EXPECT_THAT(page, HasSubstr("Show <b>Fish &amp; Chip &lt;Row&gt;</b> only"));
  EXPECT_THAT(page, HasSubstr("The &quot;Old&quot; Shop"));
  EXPECT_THAT(page, Not(HasSubstr("<Row>")));

  const std::string noSales = noSalesPage("<script>alert(1)</script>", "");
  EXPECT_THAT(noSales, HasSubstr("&lt;script&gt;alert(1)&lt;/script&gt;"));
  EXPECT_THAT(noSales, Not(HasSubstr("<script>alert")));
}

// The program finds the street and its average through these wordings; a page for a post code
// without sales must not hold any of them, or the program would cut garbage out of it.
TEST(ListingPagesTest, NoSalesPageHoldsNoneOfTheWordingTheProgramCuts) {
  std::string page = noSalesPage("ZZ99 9ZZ", "");
  for (char& c : page) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  for (const char* marker : {"post codes starting", "show", "only", "\xA3", "buying a home?"})
    EXPECT_THAT(page, Not(HasSubstr(marker))) << marker;
}

TEST(ListingPagesTest, AverageIsTheMeanRoundedToTheNearestThousand) {
  static const struct {
    std::vector<std::int64_t> prices;
    std::int64_t average;
  } cases[] = {
      {{}, 0},
      {{249499}, 249000},
      {{249500}, 250000},  // halves go up
      {{100000, 100999}, 100000},
      {{70000, 80000, 91000}, 80000},
      {{999999999999499, 999999999999499}, 999999999999000},  // no overflow of the sum
  };
  for (const auto& c : cases) {
    StreetSales street;
    for (std::int64_t price : c.prices)
      street.sales.push_back({20240102, price, "T", "N", "F", "1", ""});
    EXPECT_EQ(roundedAverage(street), c.average) << testing::PrintToString(c.prices);
  }
}

}  // namespace
}  // namespace korvane::listing
