#include "listing_db.h"

#include "sqlite.h"

#include <sqlite3.h>

namespace korvane::listing {
namespace {

constexpr int kSchemaVersion = 1;

// Post codes are kept in upper case without blanks ("CF103NQ") and dates as YYYYMMDD, so a post
// code's sales in a window of dates are one range of the primary key. The transaction id is its
// 16 bytes; the index that finds a sale by id is built when an import first needs it (see
// Importer). District and county are not kept: no page shows them.
constexpr const char* kSchema = R"(
  PRAGMA page_size = 16384;
  PRAGMA journal_mode = WAL;
  CREATE TABLE IF NOT EXISTS sales (
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
  ) WITHOUT ROWID;
  CREATE TABLE IF NOT EXISTS facts (name TEXT PRIMARY KEY, value INTEGER) WITHOUT ROWID;
  PRAGMA user_version = 1;
)";

// Throws unless the database is a listing of this version, or (when `creating`) still empty.
void checkListing(Database& db, bool creating) {
  const auto version = db.single("PRAGMA user_version");
  if (version == kSchemaVersion) return;
  if (creating && version == 0 && db.single("SELECT count(*) FROM sqlite_schema") == 0) return;
  throw std::runtime_error(db.path() + ": not a listing database" +
                           (version > kSchemaVersion ? " (made by a newer korvane-listing)" : ""));
}

}  // namespace

std::unique_ptr<Database> openForImport(const std::string& address) {
  try {
    auto db = std::make_unique<Database>(
        address, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_URI);
    db->exec("PRAGMA busy_timeout = 10000");
    checkListing(*db, true);
    db->exec(kSchema);
    // WAL lets pages be served while an import writes. NORMAL syncs at checkpoints only: a power
    // cut may lose the last committed import, but never leaves a file half imported.
    db->exec("PRAGMA synchronous = NORMAL; PRAGMA cache_size = -32768");
    return db;
  } catch (const SqliteError& error) {
    throw std::runtime_error(address + ": cannot be opened for writing: " + error.what());
  }
}

std::unique_ptr<Database> openForReading(const std::string& address) {
  try {
    auto db = std::make_unique<Database>(address, SQLITE_OPEN_READWRITE | SQLITE_OPEN_URI);
    db->exec("PRAGMA busy_timeout = 5000; PRAGMA query_only = 1");
    checkListing(*db, false);
    return db;
  } catch (const SqliteError& error) {
    throw std::runtime_error(address + ": cannot be read: " + error.what());
  }
}

int newestSale(Database& db) {
  return static_cast<int>(db.single("SELECT value FROM facts WHERE name = 'newest_sale'"));
}

void setNewestSale(Database& db, int date) {
  db.prepare("INSERT OR REPLACE INTO facts VALUES ('newest_sale', ?1)").bind(1, date).step();
}

}  // namespace korvane::listing
