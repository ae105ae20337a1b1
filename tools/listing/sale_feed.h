#pragma once

// Hands sales to SQLite as the rows of a table, so that one INSERT ... SELECT writes them all.
// Given in key order, SQLite then puts each row next to the one before, several times faster
// than a statement per row, which searches the B-tree from its root every time.

#include <exception>
#include <functional>

namespace korvane::listing {

class Database;
struct Sale;

class SaleFeed {
 public:
  using Next = std::function<const Sale*()>;

  // Makes the table "feed" on `db`, with the columns of the sales table, until the feed goes.
  explicit SaleFeed(Database& db);
  ~SaleFeed();
  SaleFeed(const SaleFeed&) = delete;
  SaleFeed& operator=(const SaleFeed&) = delete;

  // Runs `sql`, which reads feed once, with the sales `next` gives until it gives nullptr; each
  // stays valid until the next call. Rethrows what `next` threw; else throws SqliteError.
  void run(const char* sql, const Next& next);

  // For the table: the next sale, or nullptr at the end or when `next` threw (failed()).
  const Sale* advance();
  bool failed() const { return m_failure != nullptr; }

 private:
  Database& m_db;
  const Next* m_next = nullptr;
  std::exception_ptr m_failure;
};

}  // namespace korvane::listing
