#pragma once

// A thin C++ face on SQLite's C interface: a connection and its prepared statements, with every
// failure thrown as SqliteError.

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

namespace korvane::listing {

class SqliteError : public std::runtime_error {
 public:
  SqliteError(int code, const std::string& message) : std::runtime_error(message), m_code(code) {}
  // SQLite's primary result code (SQLITE_BUSY, SQLITE_FULL, SQLITE_CONSTRAINT, ...).
  int code() const { return m_code; }

 private:
  int m_code;
};

class Statement {
 public:
  Statement(sqlite3* db, std::string_view sql);  // throws SqliteError for bad SQL
  ~Statement();
  Statement(Statement&& other) noexcept;
  Statement& operator=(Statement&&) = delete;
  Statement(const Statement&) = delete;

  // Parameters count from 1. Texts and blobs are not copied: they must stay unchanged until the
  // statement has stepped.
  Statement& bind(int index, std::int64_t value);
  Statement& bind(int index, std::string_view text);
  Statement& bindBlob(int index, const void* data, std::size_t size);

  // Runs the statement to its next row: true when a row is ready, false when it is done.
  // Throws SqliteError on failure.
  bool step();
  // Ready to run again; the bound values stay.
  void reset();

  std::int64_t integer(int column) const;  // columns count from 0
  std::string_view text(int column) const;

 private:
  sqlite3* m_db;
  sqlite3_stmt* m_statement = nullptr;
};

class Database {
 public:
  // Opens `path` (a file name or, with uri, a "file:" address) with SQLite's open flags;
  // a connection is used by one thread at a time. Throws SqliteError naming the path.
  Database(const std::string& path, int flags);
  ~Database();
  Database(const Database&) = delete;
  Database& operator=(const Database&) = delete;

  // Runs one or more statements that return no rows the caller needs.
  void exec(const char* sql);
  Statement prepare(std::string_view sql) { return Statement(m_db, sql); }
  // The first column of the first row of a query, or `otherwise` when it returns no row.
  std::int64_t single(std::string_view sql, std::int64_t otherwise = 0);
  // Rows changed by the last INSERT, UPDATE or DELETE.
  int changes() const;
  // True between BEGIN and the end of that transaction.
  bool inTransaction() const;
  // While a statement runs, SQLite calls `keepGoing` every thousand or so steps of its virtual
  // machine, long single statements included; false, or a throw, ends the statement with
  // SQLITE_INTERRUPT. An empty function: no calls.
  void whileRunning(std::function<bool()> keepGoing);
  const std::string& path() const { return m_path; }
  sqlite3* handle() const { return m_db; }

 private:
  std::string m_path;
  sqlite3* m_db = nullptr;
  std::function<bool()> m_keepGoing;
};

}  // namespace korvane::listing
