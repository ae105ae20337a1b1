#include "listing_db.h"

#include "sqlite.h"

#include <cstdint>
#include <sqlite3.h>

namespace korvane::listing {
namespace {

constexpr int kSchemaVersion = 3;
// "Korv": marks the file as a listing, for this program and for file(1).
constexpr std::int64_t kApplicationId = 0x4B6F7276;

// Post codes are kept in upper case without blanks ("CF103NQ") and dates as YYYYMMDD, so a post
// code's sales in a window of dates are one range of the primary key. The transaction id is its
// 16 bytes. District and county are not kept: no page shows them.
//
// The view `sales` gives the listing's sales (the page's queries spell it out for speed, in
// sold_prices.cpp). Most sales are in settled_sales, with sale_ids mapping an id to
// its sale's place there. A file small against the listing changes only the recent tables:
// its sales go to recent_sales, the places in settled_sales that it replaced or deleted to
// gone_sales, and every id it touched to recent_ids, with no place when the id's sale is gone.
// Changes spread over a large listing would otherwise rewrite most of its pages. A file that
// would take the recent tables past their share first folds them into the settled ones (see
// Importer).
std::string schema() {
  // settled_sales and recent_sales alike, so the view can put one after the other.
  const std::string saleColumns = R"((
    postcode TEXT NOT NULL,
    date INTEGER NOT NULL,
    id BLOB NOT NULL,
    price INTEGER NOT NULL,
    property_type TEXT NOT NULL,
    new_build TEXT NOT NULL,
    tenure TEXT NOT NULL,
    paon TEXT NOT NULL,
    saon TEXT NOT NULL,
    street TEXT NOT NULL,
    locality TEXT NOT NULL,
    town TEXT NOT NULL,
    category TEXT NOT NULL,
    PRIMARY KEY (postcode, date, id)
  ) WITHOUT ROWID;)";
  return "CREATE TABLE settled_sales " + saleColumns + "CREATE TABLE recent_sales " + saleColumns +
         R"(
  CREATE TABLE gone_sales (
    postcode TEXT NOT NULL,
    date INTEGER NOT NULL,
    id BLOB NOT NULL,
    PRIMARY KEY (postcode, date, id)
  ) WITHOUT ROWID;
  CREATE VIEW sales AS
    SELECT * FROM settled_sales AS s WHERE NOT EXISTS (
      SELECT 1 FROM gone_sales AS g WHERE g.postcode = s.postcode AND g.date = s.date AND g.id = s.id)
    UNION ALL SELECT * FROM recent_sales;
  CREATE TABLE sale_ids (
    id BLOB PRIMARY KEY,
    postcode TEXT NOT NULL,
    date INTEGER NOT NULL
  ) WITHOUT ROWID;
  CREATE TABLE recent_ids (id BLOB PRIMARY KEY, postcode TEXT, date INTEGER) WITHOUT ROWID;
  CREATE TABLE facts (name TEXT PRIMARY KEY, value INTEGER) WITHOUT ROWID;
  PRAGMA application_id = )" +
         std::to_string(kApplicationId) +
         "; PRAGMA user_version = " + std::to_string(kSchemaVersion) + ";";
}

// True for a listing of this version, false for an empty database when `creating`; throws
// naming the database for anything else.
bool isListing(Database& db, bool creating) {
  const auto application = db.single("PRAGMA application_id");
  const auto version = db.single("PRAGMA user_version");
  if (application == kApplicationId && version == kSchemaVersion) return true;
  if (creating && application == 0 && version == 0 &&
      db.single("SELECT count(*) FROM sqlite_schema") == 0)
    return false;
  std::string why = "not a listing database";
  if (application == kApplicationId && version > kSchemaVersion) {
    why += " (made by a newer korvane-listing)";
  } else if (application == kApplicationId ||
             (version == 1 &&
              db.single("SELECT count(*) FROM sqlite_schema WHERE name = 'sales'"))) {
    why += " (made by an earlier korvane-listing: remove it and import again)";
  }
  throw std::runtime_error(db.path() + ": " + why);
}

// Makes the tables in one transaction, unless another import made them meanwhile.
void createListing(Database& db) {
  db.exec("PRAGMA page_size = 16384; BEGIN IMMEDIATE");
  try {
    if (!isListing(db, true)) db.exec(schema().c_str());
    db.exec("COMMIT");
  } catch (...) {
    db.exec("ROLLBACK");
    throw;
  }
}

}  // namespace

std::unique_ptr<Database> openForImport(const std::string& address) {
  try {
    auto db = std::make_unique<Database>(
        address, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_URI);
    db->exec("PRAGMA busy_timeout = 10000");
    if (!isListing(*db, true)) createListing(*db);
    // WAL lets pages be served while an import writes. NORMAL syncs at checkpoints only: a power
    // cut may lose the last committed import, but never leaves a file half imported.
    db->exec("PRAGMA journal_mode = WAL; PRAGMA synchronous = NORMAL; PRAGMA cache_size = -8192");
    return db;
  } catch (const SqliteError& error) {
    throw std::runtime_error(address + ": cannot be opened for writing: " + error.what());
  }
}

std::unique_ptr<Database> openForReading(const std::string& address) {
  try {
    auto db = std::make_unique<Database>(address, SQLITE_OPEN_READWRITE | SQLITE_OPEN_URI);
    db->exec("PRAGMA busy_timeout = 5000; PRAGMA query_only = 1");
    isListing(*db, false);
    return db;
  } catch (const SqliteError& error) {
    throw std::runtime_error(address + ": cannot be read: " + error.what());
  }
}

std::int64_t fact(Database& db, std::string_view name) {
  Statement query = db.prepare("SELECT value FROM facts WHERE name = ?1");
  return query.bind(1, name).step() ? query.integer(0) : 0;
}

void setFact(Database& db, std::string_view name, std::int64_t value) {
  db.prepare("INSERT OR REPLACE INTO facts VALUES (?1, ?2)").bind(1, name).bind(2, value).step();
}

}  // namespace korvane::listing
