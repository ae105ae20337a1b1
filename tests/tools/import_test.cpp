// Reading Price Paid rows and importing files: what a row must hold, and how rows add, replace and
// remove sales.

#include "listing/importer.h"
#include "listing/listing_db.h"
#include "listing/price_paid_row.h"
#include "listing/sqlite.h"
#include "tools/price_paid_rows.h"

#include "support/files.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace korvane::listing {
namespace {

using test::pricePaidFile;

TEST(PricePaidRowTest, RejectsMalformedRowsWithTheReason) {
  const std::string good = test::pricePaidLine({});
  const std::string rest = good.substr(good.find(','));
  auto withField = [&](int index, const std::string& value) {  // field `index` replaced
    std::string line = good;
    std::size_t start = 0;
    for (int i = 0; i < index; ++i) start = line.find("\",\"", start) + 2;
    return line.replace(start, line.find('"', start + 1) + 1 - start, value);
  };
  static const auto cases = std::vector<std::pair<std::string, const char*>>{
      {good.substr(0, good.rfind(',')), "expected 16 fields, found 15"},
      {good + ",\"X\"", "expected 16 fields, found 17"},
      {good.substr(0, good.size() - 1), "unterminated quote in field 16"},
      {withField(1, "\"25\"0000\""), "text after the closing quote of field 2"},
      {withField(1, "\"250,000\""), "price"},
      {withField(2, "\"2023-02-29\""), "date"},
      {"\"{00000000-0000-0000-0000-00000000001}\"" + rest, "id"},
      {withField(15, "\"X\""), "unknown record status"},
  };
  for (const auto& [line, reason] : cases) {
    SCOPED_TRACE(line);
    EXPECT_THAT(PricePaidRow().read(line), testing::HasSubstr(reason));
  }
}

// Every sale as "id-number postcode date price", in id order.
std::vector<std::string> sales(Database& db) {
  std::vector<std::string> all;
  Statement query = db.prepare(
      "SELECT substr(hex(id), 21) || ' ' || postcode || ' ' || date || ' ' || price "
      "FROM sales ORDER BY id");
  while (query.step()) all.emplace_back(query.text(0));
  return all;
}

TEST(ImporterTest, RowsAddReplaceAndRemoveSalesInFileOrder) {
  const std::string rows = pricePaidFile({{.sale = 1, .price = 1},
                                          {.sale = 1, .price = 2},
                                          {.sale = 2},
                                          {.sale = 2, .status = "D"},
                                          {.sale = 2, .price = 3, .status = "C"}});
  const struct {
    const char* what;
    std::vector<std::string> files;
    std::vector<std::string> sales;
    std::vector<std::vector<std::uint64_t>> counts;  // added, replaced, deleted by each file
  } cases[] = {
      {"later rows of one file win, and the file imported again changes nothing",
       {rows, rows},
       {"000000000001 CF103NQ 20240102 2", "000000000002 CF103NQ 20240102 3"},
       {{3, 1, 1}, {1, 3, 1}}},
      {"an id moved to another post code or date within a file keeps its latest date",
       {pricePaidFile({{.sale = 1, .date = "2024-05-06"},
                       {.sale = 1, .date = "2023-01-01", .postcode = "A1 1AA"}}),
        pricePaidFile({{.sale = 2}})},
       {"000000000001 CF103NQ 20240506 250000", "000000000002 CF103NQ 20240102 250000"},
       {{2, 0, 0}, {1, 1, 0}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    test::TempDir folder;
    const auto db = openForImport((folder / "listing.sqlite").string());
    Importer importer(*db, folder.path());
    std::vector<std::vector<std::uint64_t>> counts;
    for (const std::string& file : c.files) {
      test::writeBytes(folder / "pp.csv", file);
      const ImportCounts n = importer.importFile(folder / "pp.csv").counts;
      counts.push_back({n.added, n.replaced, n.deleted});
    }
    EXPECT_EQ(sales(*db), c.sales);
    EXPECT_EQ(counts, c.counts);
  }
}

TEST(ImporterTest, BadRowsAreCountedAndTheFirstReportedWhileGoodOnesAreImported) {
  test::TempDir folder;
  std::string text = "\n" + test::pricePaidLine({.sale = 1}) + "\r\n";
  for (int i = 0; i < 25; ++i) text += "\"not\",\"a row\"\n";
  text += test::pricePaidLine({.sale = 2});  // no line end
  test::writeBytes(folder / "pp.csv", text);
  const auto db = openForImport((folder / "listing.sqlite").string());
  const ImportResult result = Importer(*db, folder.path()).importFile(folder / "pp.csv");
  EXPECT_EQ(result.counts.added, 2u);
  EXPECT_EQ(result.counts.rejected, 25u);
  ASSERT_EQ(result.firstRejected.size(), Importer::kReportedRejections);
  EXPECT_EQ(result.firstRejected.front().line, 3u);
  EXPECT_EQ(result.firstRejected.front().reason, "expected 16 fields, found 2");
  EXPECT_EQ(result.firstRejected.back().line, 22u);
}

}  // namespace
}  // namespace korvane::listing
