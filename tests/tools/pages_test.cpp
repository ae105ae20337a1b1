// What a post code's page shows: which street and sales, and how they are written.

#include "price_paid_rows.h"

#include "listing/importer.h"
#include "listing/listing_db.h"
#include "listing/page_text.h"
#include "listing/sold_prices.h"
#include "listing/sold_prices_page.h"
#include "support/files.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace korvane::listing {
namespace {

using test::PricePaidRow;
using testing::HasSubstr;

TEST(SoldPricesTest, ChoosesTheStreetWithTheMostStandardSalesInTheWindow) {
  static const struct {
    const char* what;
    std::vector<PricePaidRow> rows;
    int years;
    const char* street;  // "" when the page has no sales
    std::vector<int> dates;
  } cases[] = {
      // clang-format off
      {"the street with most sales, newest first",
       {{.sale = 1, .street = "MILL LANE"}, {.sale = 2, .date = "2022-06-07"}, {.sale = 3}},
       5, "HIGH STREET", {20240102, 20220607}},
      {"additional (category B) sales neither count nor show",
       {{.sale = 1, .street = "MILL LANE"}, {.sale = 2, .category = "B"}, {.sale = 3, .category = "B"},
        {.sale = 4, .date = "2023-03-04", .street = "MILL LANE", .category = "B"}},
       5, "MILL LANE", {20240102}},
      {"rows without a street do not count",
       {{.sale = 1, .street = "MILL LANE"}, {.sale = 2, .street = ""}, {.sale = 3, .street = ""}},
       5, "MILL LANE", {20240102}},
      {"a longer window reaches older sales",
       {{.sale = 1, .date = "2015-01-02"}, {.sale = 3, .date = "2024-01-02", .postcode = "B1 1AA"}},
       10, "HIGH STREET", {20150102}},
      {"the window follows the newest sale that remains",
       {{.sale = 1, .date = "2015-01-02"}, {.sale = 2, .date = "2019-01-03"},
        {.sale = 3, .date = "2024-01-02", .postcode = "B1 1AA"}, {.sale = 3, .status = "D"}},
       5, "HIGH STREET", {20190103, 20150102}},
      {"the window ends at the listing's newest sale, and one on the day it opens is outside",
       {{.sale = 1, .date = "2019-01-02"}, {.sale = 3, .date = "2024-01-02", .postcode = "B1 1AA"}},
       5, "", {}},
      // clang-format on
  };
  // Imported again over other sales, every sale is in the recent tables and the one it replaced
  // in the settled ones: the page must show each once.
  for (const auto& c : cases) {
    for (const bool again : {false, true}) {
      SCOPED_TRACE(std::string(c.what) + (again ? ", imported again" : ""));
      test::TempDir folder;
      const auto db = openForImport((folder / "listing.sqlite").string());
      Importer importer(*db, folder.path());
      test::writeBytes(
          folder / "pp.csv",
          test::pricePaidFile(c.rows) + (again ? test::pricePaidFile(test::otherSales()) : ""));
      importer.importFile(folder / "pp.csv");
      if (again) {
        test::writeBytes(folder / "pp.csv", test::pricePaidFile(c.rows));
        importer.importFile(folder / "pp.csv");
        EXPECT_GT(db->single("SELECT count(*) FROM recent_ids"), 0);  // what this setup is for
      }
      const auto found = StreetQuery(*db).find(" cf10 3NQ", c.years);  // as typed
      ASSERT_EQ(found.has_value(), *c.street != '\0');
      if (!found) continue;
      EXPECT_EQ(found->street, c.street);
      std::vector<int> dates;
      for (const StreetSale& sale : found->sales) {
        dates.push_back(sale.date);
        EXPECT_EQ(std::to_string(sale.price) + " " + sale.propertyType + sale.newBuild +
                      sale.tenure + " " + sale.paon + "|" + sale.saon,
                  "250000 TNF 12|");  // every row's defaults
      }
      EXPECT_EQ(dates, c.dates);
    }
  }
}

TEST(ListingPagesTest, NamesInCapitalsAreShownInTitleCase) {
  static const std::pair<const char*, const char*> cases[] = {
      {"HIGH STREET", "High Street"},
      {"ST. JOHN'S ROAD", "St. John's Road"},
      {"1ST AVENUE", "1st Avenue"},
      {"Heol y Frenhines", "Heol y Frenhines"},  // lower-case letters: shown as recorded
  };
  for (const auto& [recorded, shown] : cases) EXPECT_EQ(displayName(recorded), shown) << recorded;
}

TEST(ListingPagesTest, SoldPricesPageShowsEachSaleEscapedAndTheAverage) {
  StreetSales street{"LS63BR", "BRUDENELL & GROVE", 5, 20240102, {}};
  street.sales = {{20240102, 261999, "S", "Y", "L", "ROSE COTTAGE", ""},
                  {20220708, 251000, "F", "N", "F", "17A", "<FLAT 2>"}};
  const std::string page = soldPricesPage(street, "footnote");
  EXPECT_THAT(page, HasSubstr("post codes starting LS6 3BR"));
  EXPECT_THAT(page, HasSubstr("Show <b>Brudenell &amp; Grove</b> only"));
  EXPECT_THAT(page, HasSubstr("<td>2 Jan 2024</td><td>Rose Cottage Brudenell &amp; Grove</td>"
                              "<td>Semi-detached</td><td>Leasehold</td><td>Yes</td>"));
  EXPECT_THAT(page, HasSubstr("<td>&lt;Flat 2&gt;, 17a Brudenell &amp; Grove</td>"
                              "<td>Flat or maisonette</td><td>Freehold</td><td>No</td>"));
  EXPECT_THAT(page, HasSubstr("Brudenell &amp; Grove, \u00A3256,000 average"));  // from 256,499.5
  EXPECT_THAT(page, HasSubstr("<p>footnote</p>"));
}

TEST(ListingPagesTest, TheAverageOfTheLargestPricesDoesNotOverflow) {
  StreetSales street{"LS63BR", "HIGH STREET", 5, 20240102, {}};
  street.sales.assign(10'000, {20240102, 999'999'999'999'999, "S", "Y", "L", "1", ""});
  EXPECT_EQ(roundedAverage(street), 1'000'000'000'000'000);
}

}  // namespace
}  // namespace korvane::listing
