// Importing Price Paid files: how rows add, replace and remove sales, what a bad row or file does,
// and that an import which stops leaves the listing as it was.

#include "listing/importer.h"

#include "listing/listing_db.h"
#include "listing/sqlite.h"
#include "tools/price_paid_rows.h"

#include "support/files.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace korvane::listing {
namespace {

using test::pricePaidFile;
using test::PricePaidRow;

class ImporterTest : public testing::Test {
 protected:
  ImportResult import(const std::string& text) {
    test::writeBytes(m_folder / "pp.csv", text);
    return m_importer.importFile(m_folder / "pp.csv");
  }

  // Every sale as "id-number postcode date price", in id order.
  std::vector<std::string> sales() {
    std::vector<std::string> all;
    Statement query = m_db->prepare(
        "SELECT substr(hex(id), 21) || ' ' || postcode || ' ' || date || ' ' || price "
        "FROM sales ORDER BY id");
    while (query.step()) all.emplace_back(query.text(0));
    return all;
  }

  test::TempDir m_folder;
  std::unique_ptr<Database> m_db = openForImport((m_folder / "listing.sqlite").string());
  Importer m_importer{*m_db, m_folder.path()};
};

TEST_F(ImporterTest, RowsAddReplaceAndRemoveSalesInFileOrder) {
  static const struct {
    const char* what;
    std::vector<std::string> files;
    std::vector<std::string> sales;
    ImportCounts last;  // of the last file
  } cases[] = {
      {"a first file adds",
       {pricePaidFile({{.sale = 1}, {.sale = 2, .price = 90000, .postcode = "LS6 3BR"}})},
       {"000000000001 CF103NQ 20240102 250000", "000000000002 LS63BR 20240102 90000"},
       {2, 0, 0, 0}},
      {"a second file changes and removes",
       {pricePaidFile({{.sale = 1}, {.sale = 2}, {.sale = 3}}),
        pricePaidFile({{.sale = 1, .price = 260000, .status = "C"},
                       {.sale = 2, .status = "D"},
                       {.sale = 9, .status = "D"},
                       {.sale = 4, .date = "2024-03-04"}})},
       {"000000000001 CF103NQ 20240102 260000", "000000000003 CF103NQ 20240102 250000",
        "000000000004 CF103NQ 20240304 250000"},
       {1, 1, 1, 0}},
      {"the same file again changes nothing",
       {pricePaidFile({{.sale = 1}, {.sale = 2}}), pricePaidFile({{.sale = 1}, {.sale = 2}})},
       {"000000000001 CF103NQ 20240102 250000", "000000000002 CF103NQ 20240102 250000"},
       {0, 2, 0, 0}},
      {"later rows of one file win",
       {pricePaidFile({{.sale = 1, .price = 1},
                       {.sale = 1, .price = 2},
                       {.sale = 2},
                       {.sale = 2, .status = "D"},
                       {.sale = 2, .price = 3, .status = "C"},
                       {.sale = 3},
                       {.sale = 3, .status = "D"}})},
       {"000000000001 CF103NQ 20240102 2", "000000000002 CF103NQ 20240102 3"},
       {4, 1, 2, 0}},
      {"an id moved to another post code or date within a file keeps its latest date",
       {pricePaidFile({{.sale = 1, .date = "2024-05-06"},
                       {.sale = 1, .date = "2023-01-01", .postcode = "A1 1AA"}}),
        pricePaidFile({{.sale = 2}})},
       {"000000000001 CF103NQ 20240506 250000", "000000000002 CF103NQ 20240102 250000"},
       {1, 1, 0, 0}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    test::TempDir folder;
    m_db = openForImport((folder / "listing.sqlite").string());
    Importer importer(*m_db, folder.path());
    ImportResult result;
    for (const std::string& file : c.files) {
      test::writeBytes(folder / "pp.csv", file);
      result = importer.importFile(folder / "pp.csv");
    }
    EXPECT_EQ(sales(), c.sales);
    EXPECT_EQ(result.counts.added, c.last.added);
    EXPECT_EQ(result.counts.replaced, c.last.replaced);
    EXPECT_EQ(result.counts.deleted, c.last.deleted);
  }
}

TEST_F(ImporterTest, NewestSaleFollowsTheSalesThatRemain) {
  import(pricePaidFile({{.sale = 1, .date = "2019-05-06"}, {.sale = 2, .date = "2024-07-08" }}));
  EXPECT_EQ(newestSale(*m_db), 20240708);
  import(pricePaidFile({{.sale = 3, .date = "2020-01-01" }}));
  EXPECT_EQ(newestSale(*m_db), 20240708);
  import(pricePaidFile({{.sale = 2, .status = "D" }}));
  EXPECT_EQ(newestSale(*m_db), 20200101);
}

TEST_F(ImporterTest, BadRowsAreCountedAndReportedWhileGoodOnesAreImported) {
  std::string text = "\n" + test::pricePaidLine({.sale = 1}) + "\r\n";
  for (int i = 0; i < 25; ++i) text += "\"not\",\"a row\"\n";
  text += test::pricePaidLine({.sale = 2, .status = "X"}) + "\n";
  text += test::pricePaidLine({.sale = 3});  // no line end
  const ImportResult result = import(text);
  EXPECT_EQ(result.counts.added, 2u);
  EXPECT_EQ(result.counts.rejected, 26u);
  ASSERT_EQ(result.firstRejected.size(), Importer::kReportedRejections);
  EXPECT_EQ(result.firstRejected.front().line, 3u);
  EXPECT_EQ(result.firstRejected.front().reason, "expected 16 fields, found 2");
  EXPECT_EQ(result.firstRejected.back().line, 22u);
  EXPECT_EQ(sales().size(), 2u);
}

TEST_F(ImporterTest, AFileThatCannotBeReadChangesNothing) {
  import(pricePaidFile({{.sale = 1 }}));
  for (const char* name : {"missing.csv", ""}) {
    try {
      m_importer.importFile(m_folder / name);
      ADD_FAILURE() << "imported " << name;
    } catch (const std::runtime_error& error) {
      EXPECT_THAT(error.what(),
                  testing::HasSubstr((m_folder / name).string() + ": cannot be read"));
    }
  }
  EXPECT_EQ(sales().size(), 1u);
}

TEST_F(ImporterTest, AStoppedImportLeavesTheListingAsBefore) {
  import(pricePaidFile({{.sale = 1 }}));
  import(pricePaidFile({{.sale = 2 }}));
  const std::vector<std::string> before = sales();
  std::string big;
  for (int i = 0; i < 3000; ++i) big += test::pricePaidLine({.sale = 100 + i}) + "\n";
  std::atomic<bool> stop = true;
  m_importer.stopWhen(&stop);
  EXPECT_THROW(import(big), ImportInterrupted);
  EXPECT_EQ(sales(), before);
  m_importer.stopWhen(nullptr);
  EXPECT_EQ(import(big).counts.added, 3000u);
}

}  // namespace
}  // namespace korvane::listing
