#include "sale_feed.h"

#include "price_paid_row.h"
#include "sqlite.h"

#include <sqlite3.h>
#include <string_view>

namespace korvane::listing {
namespace {

struct FeedTable : sqlite3_vtab {
  SaleFeed* feed = nullptr;
};

struct FeedCursor : sqlite3_vtab_cursor {
  SaleFeed* feed = nullptr;
  const Sale* sale = nullptr;
  sqlite3_int64 row = 0;
};

int connect(sqlite3* db, void* feed, int, const char* const*, sqlite3_vtab** table, char**) {
  const int status = sqlite3_declare_vtab(
      db,
      "CREATE TABLE x (postcode, date, id, price, property_type, new_build, tenure, paon, saon, "
      "street, locality, town, category)");
  if (status != SQLITE_OK) return status;
  auto* made = new FeedTable{};
  made->feed = static_cast<SaleFeed*>(feed);
  *table = made;
  return SQLITE_OK;
}

int disconnect(sqlite3_vtab* table) {
  delete static_cast<FeedTable*>(table);
  return SQLITE_OK;
}

int bestIndex(sqlite3_vtab*, sqlite3_index_info*) { return SQLITE_OK; }

int open(sqlite3_vtab* table, sqlite3_vtab_cursor** cursor) {
  auto* made = new FeedCursor{};
  made->feed = static_cast<FeedTable*>(table)->feed;
  *cursor = made;
  return SQLITE_OK;
}

int close(sqlite3_vtab_cursor* cursor) {
  delete static_cast<FeedCursor*>(cursor);
  return SQLITE_OK;
}

int next(sqlite3_vtab_cursor* base) {
  auto* cursor = static_cast<FeedCursor*>(base);
  cursor->sale = cursor->feed->advance();
  ++cursor->row;
  return cursor->feed->failed() ? SQLITE_ERROR : SQLITE_OK;
}

int filter(sqlite3_vtab_cursor* cursor, int, const char*, int, sqlite3_value**) {
  return next(cursor);
}

int eof(sqlite3_vtab_cursor* cursor) { return static_cast<FeedCursor*>(cursor)->sale == nullptr; }

int column(sqlite3_vtab_cursor* cursor, sqlite3_context* out, int index) {
  const Sale& sale = *static_cast<FeedCursor*>(cursor)->sale;
  // The texts stay put until the next row: SQLite need not copy them.
  auto text = [out](std::string_view value) {
    sqlite3_result_text(out, value.data(), static_cast<int>(value.size()), SQLITE_STATIC);
  };
  switch (index) {
    case 0:
      text(sale.postcode);
      break;
    case 1:
      sqlite3_result_int64(out, sale.date);
      break;
    case 2:
      sqlite3_result_blob(out, sale.id.data(), 16, SQLITE_STATIC);
      break;
    case 3:
      sqlite3_result_int64(out, sale.price);
      break;
    case 4:
      text(sale.propertyType);
      break;
    case 5:
      text(sale.newBuild);
      break;
    case 6:
      text(sale.tenure);
      break;
    case 7:
      text(sale.paon);
      break;
    case 8:
      text(sale.saon);
      break;
    case 9:
      text(sale.street);
      break;
    case 10:
      text(sale.locality);
      break;
    case 11:
      text(sale.town);
      break;
    default:
      text(sale.category);
      break;
  }
  return SQLITE_OK;
}

int rowid(sqlite3_vtab_cursor* cursor, sqlite3_int64* row) {
  *row = static_cast<FeedCursor*>(cursor)->row;
  return SQLITE_OK;
}

// No xCreate: the table exists on every connection the module is made on, by its name.
sqlite3_module feedModule() {
  sqlite3_module module{};
  module.xConnect = connect;
  module.xBestIndex = bestIndex;
  module.xDisconnect = disconnect;
  module.xDestroy = disconnect;
  module.xOpen = open;
  module.xClose = close;
  module.xFilter = filter;
  module.xNext = next;
  module.xEof = eof;
  module.xColumn = column;
  module.xRowid = rowid;
  return module;
}

const sqlite3_module kModule = feedModule();

}  // namespace

SaleFeed::SaleFeed(Database& db) : m_db(db) {
  const int status = sqlite3_create_module_v2(db.handle(), "feed", &kModule, this, nullptr);
  if (status != SQLITE_OK) throw SqliteError(status, "cannot make the table feed");
}

SaleFeed::~SaleFeed() {
  sqlite3_create_module_v2(m_db.handle(), "feed", nullptr, nullptr, nullptr);
}

void SaleFeed::run(const char* sql, const Next& next) {
  m_next = &next;
  m_failure = nullptr;
  try {
    m_db.exec(sql);
  } catch (const SqliteError&) {
    m_next = nullptr;
    if (m_failure) std::rethrow_exception(m_failure);
    throw;
  }
  m_next = nullptr;
}

const Sale* SaleFeed::advance() {
  if (!m_next || m_failure) return nullptr;
  try {
    return (*m_next)();
  } catch (...) {
    m_failure = std::current_exception();
    return nullptr;
  }
}

}  // namespace korvane::listing
