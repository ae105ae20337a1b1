#include "sqlite.h"

#include <sqlite3.h>

namespace korvane::listing {
namespace {

[[noreturn]] void fail(sqlite3* db, int code) {
  throw SqliteError(code & 0xff, db ? sqlite3_errmsg(db) : sqlite3_errstr(code));
}

}  // namespace

Statement::Statement(sqlite3* db, std::string_view sql) : m_db(db) {
  const int status = sqlite3_prepare_v3(db, sql.data(), static_cast<int>(sql.size()),
                                        SQLITE_PREPARE_PERSISTENT, &m_statement, nullptr);
  if (status != SQLITE_OK) fail(db, status);
}

Statement::~Statement() { sqlite3_finalize(m_statement); }

Statement::Statement(Statement&& other) noexcept
    : m_db(other.m_db), m_statement(other.m_statement) {
  other.m_statement = nullptr;
}

Statement& Statement::bind(int index, std::int64_t value) {
  const int status = sqlite3_bind_int64(m_statement, index, value);
  if (status != SQLITE_OK) fail(m_db, status);
  return *this;
}

Statement& Statement::bind(int index, std::string_view text) {
  const int status = sqlite3_bind_text(m_statement, index, text.data(),
                                       static_cast<int>(text.size()), SQLITE_STATIC);
  if (status != SQLITE_OK) fail(m_db, status);
  return *this;
}

Statement& Statement::bindBlob(int index, const void* data, std::size_t size) {
  const int status =
      sqlite3_bind_blob(m_statement, index, data, static_cast<int>(size), SQLITE_STATIC);
  if (status != SQLITE_OK) fail(m_db, status);
  return *this;
}

bool Statement::step() {
  const int status = sqlite3_step(m_statement);
  if (status == SQLITE_ROW) return true;
  if (status == SQLITE_DONE) return false;
  sqlite3_reset(m_statement);
  fail(m_db, status);
}

void Statement::reset() { sqlite3_reset(m_statement); }

std::int64_t Statement::integer(int column) const {
  return sqlite3_column_int64(m_statement, column);
}

std::string_view Statement::text(int column) const {
  const auto* bytes = reinterpret_cast<const char*>(sqlite3_column_text(m_statement, column));
  return bytes ? std::string_view(bytes, sqlite3_column_bytes(m_statement, column))
               : std::string_view();
}

Database::Database(const std::string& path, int flags) : m_path(path) {
  const int status = sqlite3_open_v2(path.c_str(), &m_db, flags | SQLITE_OPEN_NOMUTEX, nullptr);
  if (status != SQLITE_OK) {
    const std::string message = m_db ? sqlite3_errmsg(m_db) : sqlite3_errstr(status);
    sqlite3_close_v2(m_db);
    throw SqliteError(status & 0xff, message);
  }
  sqlite3_extended_result_codes(m_db, 0);
}

Database::~Database() { sqlite3_close_v2(m_db); }

void Database::exec(const char* sql) {
  const int status = sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr);
  if (status != SQLITE_OK) fail(m_db, status);
}

std::int64_t Database::single(std::string_view sql, std::int64_t otherwise) {
  Statement query(m_db, sql);
  return query.step() ? query.integer(0) : otherwise;
}

int Database::changes() const { return sqlite3_changes(m_db); }

bool Database::inTransaction() const { return !sqlite3_get_autocommit(m_db); }

void Database::whileRunning(std::function<bool()> keepGoing) {
  m_keepGoing = std::move(keepGoing);
  sqlite3_progress_handler(
      m_db, m_keepGoing ? 1000 : 0,
      [](void* database) {
        try {
          return static_cast<Database*>(database)->m_keepGoing() ? 0 : 1;
        } catch (...) {
          return 1;  // nothing may leave through SQLite
        }
      },
      this);
}

}  // namespace korvane::listing
