// Which street and sales a post code's page shows: the street with the most standard sales in the
// window, and the window itself.

#include "listing/sold_prices.h"

#include "listing/importer.h"
#include "listing/listing_db.h"
#include "tools/price_paid_rows.h"

#include "support/files.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace korvane::listing {
namespace {

using test::PricePaidRow;

TEST(SoldPricesTest, ChoosesTheStreetWithTheMostStandardSalesInTheWindow) {
  static const struct {
    const char* what;
    std::vector<PricePaidRow> rows;
    const char* asked;
    int years;
    const char* street;  // "" when the page has no sales
    std::vector<int> dates;
  } cases[] = {
      {"the street with most sales",
       {{.sale = 1, .street = "MILL LANE"},
        {.sale = 2, .date = "2023-01-01"},
        {.sale = 3, .date = "2022-06-07"}},
       "cf10 3nq",
       5,
       "HIGH STREET",
       {20230101, 20220607}},
      {"additional (category B) sales do not count",
       {{.sale = 1, .street = "MILL LANE"},
        {.sale = 2, .category = "B"},
        {.sale = 3, .category = "B"}},
       "CF103NQ",
       5,
       "MILL LANE",
       {20240102}},
      {"rows without a street do not count",
       {{.sale = 1, .street = "MILL LANE"}, {.sale = 2, .street = ""}, {.sale = 3, .street = ""}},
       "CF10 3NQ",
       5,
       "MILL LANE",
       {20240102}},
      {"a tie goes to the first street by name",
       {{.sale = 1, .street = "MILL LANE"}, {.sale = 2, .street = "BROOK ROAD"}},
       "CF10 3NQ",
       5,
       "BROOK ROAD",
       {20240102}},
      {"the window ends at the newest sale of the listing, not of the post code",
       {{.sale = 1, .date = "2015-01-02"},
        {.sale = 2, .date = "2019-01-03"},
        {.sale = 3, .date = "2024-01-02", .postcode = "LS6 3BR"}},
       "CF10 3NQ",
       5,
       "HIGH STREET",
       {20190103}},
      {"a longer window reaches older sales",
       {{.sale = 1, .date = "2015-01-02"},
        {.sale = 2, .date = "2019-01-03"},
        {.sale = 3, .date = "2024-01-02", .postcode = "LS6 3BR"}},
       "CF10 3NQ",
       10,
       "HIGH STREET",
       {20190103, 20150102}},
      {"a sale on the day the window opens is outside it",
       {{.sale = 1, .date = "2019-01-02"}, {.sale = 3, .date = "2024-01-02", .postcode = "B1 1AA"}},
       "CF10 3NQ",
       5,
       "",
       {}},
      {"another post code's sales never show",
       {{.sale = 1, .postcode = "CF10 3NR"}},
       "CF10 3NQ",
       5,
       "",
       {}},
      {"an empty post code matches nothing", {{.sale = 1, .postcode = ""}}, "", 5, "", {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    test::TempDir folder;
    std::string text;
    for (const PricePaidRow& row : c.rows) text += test::pricePaidLine(row) + "\n";
    test::writeBytes(folder / "pp.csv", text);
    const auto db = openForImport((folder / "listing.sqlite").string());
    Importer(*db, folder.path()).importFile(folder / "pp.csv");

    const auto found = StreetQuery(*db).find(c.asked, c.years);
    ASSERT_EQ(found.has_value(), *c.street != '\0');
    if (!found) continue;
    EXPECT_EQ(found->street, c.street);
    EXPECT_EQ(found->postcode, "CF103NQ");
    std::vector<int> dates;
    for (const StreetSale& sale : found->sales) dates.push_back(sale.date);
    EXPECT_EQ(dates, c.dates);
  }
}

}  // namespace
}  // namespace korvane::listing
