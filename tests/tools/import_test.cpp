// Reading Price Paid rows and importing files: what a row must hold, and how rows add, replace and
// remove sales.

#include "price_paid_rows.h"

#include "listing/importer.h"
#include "listing/listing_db.h"
#include "listing/price_paid_row.h"
#include "listing/sale_feed.h"
#include "listing/sqlite.h"
#include "support/files.h"

#include <cerrno>
#include <cstring>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <memory>
#include <sqlite3.h>
#include <sys/mount.h>

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
  const auto cases = std::vector<std::pair<std::string, std::string>>{
      // clang-format off
      {good.substr(0, good.rfind(',')), "expected 16 fields, found 15"},
      {good + ",\"X\"", "expected 16 fields, found 17"},
      {good.substr(0, good.size() - 1), "unterminated quote in field 16"},
      {withField(1, "\"25\"0000\""), "text after the closing quote of field 2"},
      {withField(1, "\"250,000\""), "price"},
      {withField(1, "\"1000000000000000\""), "price has more than 15 digits"},
      {withField(1, "\"99999999999999999999999\""), "price has more than 15 digits"},
      {withField(2, "\"2023-02-29\""), "date"},
      {withField(2, "\"2023-01-32\""), "date"},
      {withField(2, "\"2023-01-0:\""), "date"},
      {withField(2, "\"1994-12-31\""), "date of transfer is before 1995"},
      {withField(2, "\"2024-02-02\""), "date of transfer is more than 31 days ahead"},
      {"\"{00000000-0000-0000-0000-00000000001}\"" + rest, "id"},
      {withField(15, "\"X\""), "unknown record status"},
      {withField(9, "\"CAF\xC9\""), "not UTF-8 text at byte"},      // Latin-1
      {withField(9, "\"\xC0\xAF\""), "not UTF-8 text at byte"},      // overlong "/"
      {withField(9, "\"\xED\xA0\x80\""), "not UTF-8 text at byte"},  // a surrogate
      {withField(9, "\"\xF4\x90\x80\x80\""), "not UTF-8 text at byte"},  // past U+10FFFF
      {withField(9, "\"\xE2\x82\""),  // cut short
       "not UTF-8 text at byte " + std::to_string(good.find("HIGH") + 1)},
      // Accepted: the edges of what reads.
      {withField(1, "\"999999999999999\""), ""},
      {withField(2, "\"1995-01-01\""), ""},
      {withField(2, "\"2024-02-01\""), ""},
      {withField(9, "\"CAF\xC3\x89 \xE2\x82\xAC \xF0\x9F\x8F\xA0\""), ""},
      // clang-format on
  };
  for (const auto& [line, reason] : cases) {
    SCOPED_TRACE(line);
    const std::string problem = PricePaidRow(20240201).read(line);
    EXPECT_THAT(problem, testing::HasSubstr(reason));
    EXPECT_EQ(problem.empty(), reason.empty());
  }
  // Today's rows: a year ahead is always too far.
  EXPECT_EQ(PricePaidRow().read(withField(2, "\"2099-01-01\"")),
            "date of transfer is more than 31 days ahead");
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

// Every case runs twice: into an empty listing, and with other sales imported with its first
// file, so the later files, small against the listing, go to the recent tables.
TEST(ImporterTest, RowsAddReplaceAndRemoveSalesInFileOrder) {
  const std::string rows = pricePaidFile({{.sale = 1, .price = 1},
                                          {.sale = 1, .price = 2},
                                          {.sale = 2},
                                          {.sale = 2, .status = "D"},
                                          {.sale = 2, .price = 3, .status = "C"}});
  // Deletions of ids the listing never held: rows that count towards folding the recent tables
  // in, and change nothing.
  const auto unknown = [](int rows) {
    std::string file;
    for (int sale = 20; sale < 20 + rows; ++sale)
      file += pricePaidFile({{.sale = sale, .status = "D"}});
    return file;
  };
  const struct {
    const char* what;
    std::vector<std::string> files;
    std::vector<std::string> sales;
    std::vector<std::vector<std::uint64_t>> counts;  // added, replaced, deleted by each file
    int newest;
  } cases[] = {
      {"later rows of one file win, and the file imported again changes nothing",
       {rows, rows},
       {"000000000001 CF103NQ 20240102 2", "000000000002 CF103NQ 20240102 3"},
       {{3, 1, 1}, {1, 3, 1}},
       20240102},
      {"an id twice in a file of added sales: the later row wins",
       {pricePaidFile({{.sale = 1, .price = 1}, {.sale = 1, .price = 2, .postcode = "A1 1AA"}})},
       {"000000000001 A11AA 20240102 2"},
       {{1, 1, 0}},
       20240102},
      {"an id moved to another post code or date leaves nothing at its old place",
       {pricePaidFile({{.sale = 1, .date = "2024-05-06"}, {.sale = 2}}),
        pricePaidFile({{.sale = 1, .date = "2023-01-01", .postcode = "A1 1AA", .status = "C"},
                       {.sale = 2, .status = "D"},
                       {.sale = 2, .postcode = "B2 2BB"}})},
       {"000000000001 A11AA 20230101 250000", "000000000002 B22BB 20240102 250000"},
       {{2, 0, 0}, {1, 1, 1}},
       20240102},
      // With other sales, the fourth file folds the recent tables in and is written to the
      // settled ones; the sixth folds in the sale re-added while recent and, small by itself,
      // starts them again.
      {"a sale changed while recent, and what the recent tables held when they are folded in",
       {pricePaidFile({{.sale = 1}, {.sale = 2}, {.sale = 3}}),
        pricePaidFile(
            {{.sale = 1, .postcode = "A1 1AA", .status = "C"}, {.sale = 2, .status = "D"}}),
        pricePaidFile(
            {{.sale = 1, .price = 6, .date = "2023-06-01", .postcode = "A1 1AA", .status = "C"}}),
        unknown(11) + pricePaidFile({{.sale = 1, .price = 7, .postcode = "A1 1AA", .status = "C"}}),
        pricePaidFile({{.sale = 2, .price = 8, .status = "C"}}),
        unknown(9) + pricePaidFile({{.sale = 2, .price = 9, .status = "C"}})},
       {"000000000001 A11AA 20240102 7", "000000000002 CF103NQ 20240102 9",
        "000000000003 CF103NQ 20240102 250000"},
       {{3, 0, 0}, {0, 1, 1}, {0, 1, 0}, {0, 1, 0}, {1, 0, 0}, {0, 1, 0}},
       20240102},
  };
  const std::string others = pricePaidFile(test::otherSales());
  for (const auto& c : cases) {
    for (const bool withOthers : {false, true}) {
      SCOPED_TRACE(std::string(c.what) + (withOthers ? ", with other sales" : ""));
      test::TempDir folder;
      const auto db = openForImport((folder / "listing.sqlite").string());
      Importer importer(*db, folder.path());
      std::vector<std::vector<std::uint64_t>> counts;
      for (const std::string& file : c.files) {
        test::writeBytes(folder / "pp.csv", counts.empty() && withOthers ? file + others : file);
        const ImportCounts n = importer.importFile(folder / "pp.csv").counts;
        counts.push_back({n.added - (counts.empty() && withOthers ? test::otherSales().size() : 0),
                          n.replaced, n.deleted});
        if (withOthers && counts.size() == 2) {  // what this setup is for
          EXPECT_GT(db->single("SELECT count(*) FROM recent_ids"), 0);
        }
      }
      std::vector<std::string> kept = sales(*db);
      kept.resize(kept.size() - (withOthers ? test::otherSales().size() : 0));
      EXPECT_EQ(kept, c.sales);
      EXPECT_EQ(counts, c.counts);
      EXPECT_EQ(fact(*db, "newest_sale"), c.newest);
    }
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

TEST(ListingDatabaseTest, RefusesAnotherProgramsFileByNameAndWritesNothingToIt) {
  test::TempDir folder;
  const std::pair<const char*, const char*> cases[] = {
      // how the file is made, what is said
      {nullptr, "other.db: cannot be opened for writing: file is not a database"},
      {"CREATE TABLE t (x); PRAGMA user_version = 1", "other.db: not a listing database"},
      {"PRAGMA application_id = 42", "other.db: not a listing database"},
      {"PRAGMA application_id = 1265594998; PRAGMA user_version = 2",
       "other.db: not a listing database (made by an earlier korvane-listing"},
  };
  for (const auto& [sql, says] : cases) {
    SCOPED_TRACE(sql ? sql : "a text file");
    const std::filesystem::path file = folder / "other.db";
    std::filesystem::remove(file);
    if (sql) Database(file.string(), SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE).exec(sql);
    if (!sql) test::writeBytes(file, "not a database");
    const std::string before = test::readBytes(file);
    EXPECT_THAT([&] { openForImport(file.string()); },
                testing::ThrowsMessage<std::runtime_error>(testing::HasSubstr(says)));
    EXPECT_EQ(test::readBytes(file), before);
  }
}

TEST(SaleFeedTest, WhatTheSourceThrowsEndsTheStatementWithNothingOfItWritten) {
  Database db(":memory:", SQLITE_OPEN_READWRITE);
  db.exec("CREATE TABLE t (postcode, price)");
  Sale sale;
  int given = 0;
  auto failing = [&]() -> const Sale* {
    if (++given > 3) throw ImportInterrupted("stopped");
    return &sale;
  };
  EXPECT_THROW(SaleFeed(db).run("INSERT INTO t SELECT postcode, price FROM feed", failing),
               ImportInterrupted);
  EXPECT_EQ(db.single("SELECT count(*) FROM t"), 0);
}

// On a file system of 4 MiB of its own, so the disk fills for real: while the listing is
// written, or while the rows are sorted (over 32 MiB of them go to a temporary file).
TEST(ImporterTest, AFullDiskLeavesTheListingAsItWas) {
  const std::pair<int, const char*> cases[] = {
      {60'000, "listing.sqlite: cannot be written: database or disk is full"},
      {320'000, "disk: cannot write a temporary file: No space left on device"},
  };
  for (const auto& [rows, says] : cases) {
    SCOPED_TRACE(says);
    test::TempDir folder;
    const std::filesystem::path disk = folder / "disk";
    std::filesystem::create_directory(disk);
    if (::mount("tmpfs", disk.c_str(), "tmpfs", 0, "size=4m") != 0)
      GTEST_SKIP() << "mounting a tmpfs needs root (CAP_SYS_ADMIN): " << std::strerror(errno);
    const std::shared_ptr<void> unmount(nullptr,
                                        [&](void*) { ::umount2(disk.c_str(), MNT_DETACH); });
    test::writeBytes(folder / "small.csv", pricePaidFile({{.sale = 1}, {.sale = 2, .price = 5}}));
    std::string large;
    for (int i = 0; i < rows; ++i) large += test::pricePaidLine({.sale = 10 + i}) + "\n";
    test::writeBytes(folder / "large.csv", large);

    const auto db = openForImport((disk / "listing.sqlite").string());
    Importer importer(*db, disk);
    importer.importFile(folder / "small.csv");
    const std::vector<std::string> before = sales(*db);
    EXPECT_THAT([&] { importer.importFile(folder / "large.csv"); },
                testing::ThrowsMessage<std::runtime_error>(testing::HasSubstr(says)));
    EXPECT_EQ(sales(*db), before);
  }
}

}  // namespace
}  // namespace korvane::listing
