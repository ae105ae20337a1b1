#include "importer.h"

#include "line_reader.h"
#include "listing_db.h"
#include "price_paid_row.h"
#include "sale_feed.h"
#include "sale_sorter.h"
#include "sort_thread.h"
#include "sqlite.h"

#include <algorithm>
#include <chrono>
#include <optional>
#include <sqlite3.h>

namespace korvane::listing {

ImportCounts& ImportCounts::operator+=(const ImportCounts& other) {
  added += other.added;
  replaced += other.replaced;
  deleted += other.deleted;
  rejected += other.rejected;
  return *this;
}

// One file's import inside its transaction, in passes that each write in key order: writing a
// B-tree in its key order is several times faster than in file order, and keeps memory flat
// however large the listing.
//  1. The rows are read. Each sale goes to a sorter by place (post code, date, id); its id,
//     place and status, numbered in file order, to a sorter by id. A thread of its own sorts
//     while this one reads.
//  2. Each id's rows are applied in file order to what the listing holds for it (found in
//     recent_ids, else in sale_ids), giving the counts and the row whose sale stays, if any.
//     The id's new place is stored in id order; the places of the sales the file replaces or
//     deletes go to a third sorter, or to a fourth for gone_sales.
//  3. Those places are removed in their order, then the sales that stay are written in theirs,
//     by one statement.
// A file small against the listing is written to the recent tables (see listing_db.cpp). One that
// would take them past their share first folds them into the settled tables; it is then written
// to the emptied recent tables if small by itself, else to the settled ones.
class Importer::Run {
 public:
  Run(Importer& importer, const std::filesystem::path& file)
      : m_db(importer.m_db),
        m_importer(importer),
        m_file(file),
        m_reader(file),
        m_byPlace(SaleSorter::Order::ByPlace, importer.m_workFolder),
        m_byId(SaleSorter::Order::ById, importer.m_workFolder),
        m_removals(SaleSorter::Order::ByPlace, importer.m_workFolder),
        m_gone(SaleSorter::Order::ByPlace, importer.m_workFolder) {
    // Long statements, such as the fold's, report and stop from inside SQLite.
    m_db.whileRunning([this] {
      if (stopping()) return false;
      report();
      return true;
    });
  }
  ~Run() { m_db.whileRunning(nullptr); }
  Run(const Run&) = delete;
  Run& operator=(const Run&) = delete;

  ImportResult go() {
    m_previousNewest = static_cast<int>(fact(m_db, "newest_sale"));
    m_settled = fact(m_db, "settled_sales");
    const bool listingEmpty =
        m_db.single("SELECT count(*) FROM (SELECT 1 FROM sale_ids LIMIT 1)") == 0;
    readRows();
    if (m_rowsAccepted == 0) {
      if (m_result.firstRejected.empty())
        throw std::runtime_error(displayName(m_file) + ": holds no Price Paid rows");
      const RejectedRow& first = m_result.firstRejected.front();
      throw std::runtime_error(displayName(m_file) + ": no row is a Price Paid row (line " +
                               std::to_string(first.line) + ": " + first.reason + ")");
    }
    if (listingEmpty && writeIntoEmptyListing()) {
      m_settled = static_cast<std::int64_t>(m_result.counts.added);
    } else {
      if (!listingEmpty) chooseTables();
      matchIds();
      writeSales();
      if (!m_intoRecent)
        m_settled += static_cast<std::int64_t>(m_result.counts.added - m_result.counts.deleted);
    }
    int newest = std::max(m_previousNewest, m_newestAdded);
    if (m_newestRemoved && m_newestAdded < m_previousNewest) {
      newest = static_cast<int>(m_db.single(
          "SELECT max(date) FROM (SELECT date FROM recent_ids WHERE postcode IS NOT NULL "
          "UNION ALL SELECT date FROM sale_ids WHERE id NOT IN (SELECT id FROM recent_ids))"));
    }
    setFact(m_db, "newest_sale", newest);
    setFact(m_db, "settled_sales", m_settled);
    return m_result;
  }

 private:
  // The recent tables hold at most this share of the settled ones: their cost to each later file
  // grows with them, and folding them in costs as much as writing over the whole listing.
  static constexpr std::int64_t kRecentShare = 8;

  struct Place {
    std::string postcode;
    int date = 0;
  };
  struct Held {                  // what the listing holds for an id
    std::optional<Place> place;  // of its sale, if it has one
    bool settled = false;        // the sale is in settled_sales
  };

  void readRows() {
    SortThread sorting(m_byPlace, m_byId);
    std::string_view line;
    while (m_reader.next(line)) {
      if ((++m_rowsRead & 1023) == 0) tick(0.5 * fraction(m_reader.offset(), m_reader.size()));
      if (line.empty()) continue;
      const std::string problem = m_reader.tooLong() ? "line longer than 1 MiB" : m_row.read(line);
      if (!problem.empty()) {
        reject(problem);
        continue;
      }
      const Sale& sale = m_row.sale();
      m_onlyAdded &= sale.status == 'A';
      sorting.add(sale, m_rowsAccepted++);
    }
    sorting.finish();
    m_stays.assign(m_rowsAccepted, false);
  }

  // Into an empty listing a file of A rows with no id twice (a year's file, the complete one) is
  // written straight from the two sorts, sales then sale_ids, a statement each. Returns false,
  // with nothing written, when an id comes twice, or for any other file.
  bool writeIntoEmptyListing() {
    if (!m_onlyAdded) return false;
    m_db.exec("SAVEPOINT empty_listing");
    try {
      SaleFeed feed(m_db);
      std::uint64_t written = 0;
      SaleSorter::Reader places = m_byPlace.read();
      feed.run("INSERT OR IGNORE INTO settled_sales SELECT * FROM feed", [&]() -> const Sale* {
        if (!places.next()) return nullptr;
        if ((++written & 1023) == 0) tick(0.5 + 0.3 * fraction(written, m_byPlace.size()));
        m_newestAdded = std::max(m_newestAdded, places.sale().date);
        return &places.sale();
      });
      std::uint64_t stored = 0;
      SaleSorter::Reader ids = m_byId.read();
      feed.run("INSERT INTO sale_ids SELECT id, postcode, date FROM feed", [&]() -> const Sale* {
        if (!ids.next()) return nullptr;
        if ((++stored & 1023) == 0) tick(0.8 + 0.2 * fraction(stored, m_byId.size()));
        return &ids.sale();
      });
      m_db.exec("RELEASE empty_listing");
      m_result.counts.added = written;
      return true;
    } catch (const SqliteError& error) {
      if (error.code() != SQLITE_CONSTRAINT) throw;  // else an id came twice
    }
    m_db.exec("ROLLBACK TO empty_listing; RELEASE empty_listing");
    m_newestAdded = 0;
    return false;
  }

  // Sends the file to the recent tables while they stay within their share. A file that would
  // take them past it folds them in; if it is small against the listing by itself, it then starts
  // them again rather than spreading over the listing.
  void chooseTables() {
    const auto rows = static_cast<std::int64_t>(m_rowsAccepted);
    const std::int64_t recent = m_db.single("SELECT count(*) FROM recent_ids");
    m_intoRecent = (recent + rows) * kRecentShare <= m_settled;
    if (!m_intoRecent && recent > 0) {
      foldRecent();
      m_intoRecent = rows * kRecentShare <= m_settled;
    }
  }

  // Moves the recent tables into the settled ones, each in one statement in key order.
  void foldRecent() {
    m_db.exec("DELETE FROM settled_sales WHERE (postcode, date, id) IN (SELECT * FROM gone_sales)");
    m_settled -= m_db.changes();
    m_db.exec("INSERT OR IGNORE INTO settled_sales SELECT * FROM recent_sales");
    m_settled += m_db.changes();
    m_db.exec(
        "DELETE FROM sale_ids WHERE id IN (SELECT id FROM recent_ids);"
        "INSERT OR IGNORE INTO sale_ids SELECT * FROM recent_ids WHERE postcode IS NOT NULL;"
        "DELETE FROM gone_sales; DELETE FROM recent_sales; DELETE FROM recent_ids");
  }

  // The id sort's rows, an id at a time.
  class IdRows {
   public:
    explicit IdRows(SaleSorter& byId) : m_reader(byId.read()), m_pending(m_reader.next()) {}

    // Moves to the next id: false when there is none.
    bool next() {
      if (!m_pending) return false;
      ++count;
      statuses.clear();
      last.id = m_reader.sale().id;
      do {
        const Sale& sale = m_reader.sale();
        statuses += sale.status;
        if (sale.status != 'D') {
          last.postcode = sale.postcode;
          last.date = sale.date;
          lastNumber = m_reader.tag();
        }
        ++rows;
      } while ((m_pending = m_reader.next()) && m_reader.sale().id == last.id);
      return true;
    }
    bool stays() const { return statuses.back() != 'D'; }

    Sale last;                          // the id, and the place of its last added or changed sale
    std::string statuses;               // of its rows, in file order
    std::uint64_t lastNumber = 0;       // its number in the file's sales
    std::uint64_t count = 0, rows = 0;  // ids and rows given so far

   private:
    SaleSorter::Reader m_reader;
    bool m_pending;
  };

  void matchIds() {
    IdRows ids(m_byId);
    m_intoRecent ? matchIntoRecent(ids) : matchIntoSettled(ids);
  }

  void matchIntoSettled(IdRows& ids) {
    Statement find = m_db.prepare("SELECT postcode, date FROM sale_ids WHERE id = ?1");
    Statement storeNew = m_db.prepare("INSERT OR IGNORE INTO sale_ids VALUES (?1, ?2, ?3)");
    Statement move = m_db.prepare("UPDATE sale_ids SET postcode = ?2, date = ?3 WHERE id = ?1");
    Statement forget = m_db.prepare("DELETE FROM sale_ids WHERE id = ?1");
    while (ids.next()) {
      const Sale& last = ids.last;
      const std::uint8_t* id = last.id.data();
      // Most ids that stay are new: storing their place first finds out whether they are.
      if (ids.stays()) {
        storeNew.bindBlob(1, id, 16).bind(2, last.postcode).bind(3, last.date).step();
        storeNew.reset();
      }
      Held old{std::nullopt, true};
      if (!ids.stays() || m_db.changes() == 0) lookUp(find, id, old);
      apply(ids, old);
      if (ids.stays() && old.place &&
          (old.place->postcode != last.postcode || old.place->date != last.date)) {
        move.bindBlob(1, id, 16).bind(2, last.postcode).bind(3, last.date).step();
        move.reset();
      } else if (!ids.stays() && old.place) {
        forget.bindBlob(1, id, 16).step();
        forget.reset();
      }
      tickIds(ids);
    }
  }

  // recent_ids, where it names an id, holds the truth about it. The ids it does not name yet are
  // added by one statement; the others are changed one by one.
  void matchIntoRecent(IdRows& ids) {
    Statement findRecent = m_db.prepare("SELECT postcode, date FROM recent_ids WHERE id = ?1");
    Statement find = m_db.prepare("SELECT postcode, date FROM sale_ids WHERE id = ?1");
    Statement move = m_db.prepare(
        "UPDATE recent_ids SET postcode = iif(?3, ?2, NULL), date = nullif(?3, 0) WHERE id = ?1");
    Sale added;  // an id for recent_ids: with its sale's place, or with date 0 when it has none
    SaleFeed(m_db).run(
        "INSERT OR IGNORE INTO recent_ids SELECT id, iif(date, postcode, NULL), nullif(date, 0) "
        "FROM feed",
        [&]() -> const Sale* {
          while (ids.next()) {
            const std::uint8_t* id = ids.last.id.data();
            Held old;
            const bool named = lookUp(findRecent, id, old);
            old.settled = !named;
            if (!named) lookUp(find, id, old);
            apply(ids, old);
            tickIds(ids);
            if (!ids.stays() && !old.place) continue;  // nothing to keep, or to hide
            added.id = ids.last.id;
            added.postcode = ids.stays() ? ids.last.postcode : std::string();
            added.date = ids.stays() ? ids.last.date : 0;
            if (!named) return &added;
            move.bindBlob(1, id, 16).bind(2, added.postcode).bind(3, added.date).step();
            move.reset();
          }
          return nullptr;
        });
  }

  // Looks the id up with `find` (SELECT postcode, date ... WHERE id = ?1): false when no row
  // names it. A row with a date gives the place of the id's sale.
  static bool lookUp(Statement& find, const std::uint8_t* id, Held& old) {
    find.bindBlob(1, id, 16);
    const bool found = find.step();
    if (found && find.integer(1) != 0)
      old.place = Place{std::string(find.text(0)), static_cast<int>(find.integer(1))};
    find.reset();
    return found;
  }

  // Applies an id's rows to what the listing held for it: the counts, the old sale's removal and
  // the sale that stays.
  void apply(const IdRows& ids, const Held& old) {
    bool present = old.place.has_value();
    for (char status : ids.statuses) {
      if (status == 'D') {
        m_result.counts.deleted += present;
        present = false;
      } else {
        ++(present ? m_result.counts.replaced : m_result.counts.added);
        present = true;
      }
    }
    // The old sale goes whether or not the one that stays takes its place, so the sales
    // written later never meet one already there.
    if (old.place) {
      Sale removal;
      removal.id = ids.last.id;
      removal.postcode = old.place->postcode;
      removal.date = old.place->date;
      (m_intoRecent && old.settled ? m_gone : m_removals).add(removal);
      m_newestRemoved |= old.place->date >= m_previousNewest;
    }
    if (ids.stays()) {
      m_stays[ids.lastNumber] = true;
      m_newestAdded = std::max(m_newestAdded, ids.last.date);
    }
  }

  void tickIds(const IdRows& ids) {
    if ((ids.count & 1023) == 0) tick(0.5 + 0.2 * fraction(ids.rows, m_byId.size()));
  }

  // Removes the old sales, from the table the file is written to or, for settled ones while the
  // file goes to the recent tables, by listing them in gone_sales; then writes the sales that stay.
  // OR IGNORE, though a sale written meets none already there: the old sale of its id has gone,
  // and a place holds its id. A statement that may stop half done on a conflict would make
  // SQLite first copy every page it changes to a statement journal.
  void writeSales() {
    const std::string table = m_intoRecent ? "recent_sales" : "settled_sales";
    Statement remove =
        m_db.prepare("DELETE FROM " + table + " WHERE postcode = ?1 AND date = ?2 AND id = ?3");
    for (SaleSorter::Reader removals = m_removals.read(); removals.next();) {
      const Sale& sale = removals.sale();
      remove.bind(1, sale.postcode).bind(2, sale.date).bindBlob(3, sale.id.data(), 16).step();
      remove.reset();
    }
    SaleFeed feed(m_db);
    if (m_intoRecent) {
      SaleSorter::Reader gone = m_gone.read();
      feed.run("INSERT OR IGNORE INTO gone_sales SELECT postcode, date, id FROM feed",
               [&]() -> const Sale* { return gone.next() ? &gone.sale() : nullptr; });
    }
    std::uint64_t written = 0;
    SaleSorter::Reader places = m_byPlace.read();
    feed.run(("INSERT OR IGNORE INTO " + table + " SELECT * FROM feed").c_str(),
             [&]() -> const Sale* {
               while (places.next()) {
                 if ((++written & 1023) == 0) tick(0.7 + 0.3 * fraction(written, m_byPlace.size()));
                 if (m_stays[places.tag()]) return &places.sale();
               }
               return nullptr;
             });
  }

  void reject(const std::string& problem) {
    if (m_result.firstRejected.size() < kReportedRejections)
      m_result.firstRejected.push_back({m_reader.lineNumber(), problem});
    ++m_result.counts.rejected;
  }

  static double fraction(std::uint64_t part, std::uint64_t whole) {
    return whole == 0 ? 1 : static_cast<double>(part) / static_cast<double>(whole);
  }

  void tick(double done) {
    m_done = done;
    if (stopping()) throw ImportInterrupted("stopped");
    report();
  }

  bool stopping() const { return m_importer.m_stop && m_importer.m_stop->load(); }

  void report() {
    const auto now = std::chrono::steady_clock::now();
    if (!m_importer.m_report || now - m_lastReport < std::chrono::milliseconds(200)) return;
    m_lastReport = now;
    m_importer.m_report({m_rowsRead, m_reader.size() == 0 ? -1 : m_done, elapsed()});
  }

  double elapsed() const {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - m_started).count();
  }

  Database& m_db;
  Importer& m_importer;
  std::filesystem::path m_file;
  LineReader m_reader;
  PricePaidRow m_row;
  SaleSorter m_byPlace, m_byId, m_removals, m_gone;
  std::vector<bool> m_stays;  // by the sale's number: whether it is the one its id keeps
  std::uint64_t m_rowsRead = 0, m_rowsAccepted = 0;
  int m_previousNewest = 0, m_newestAdded = 0;
  std::int64_t m_settled = 0;    // rows in settled_sales
  bool m_intoRecent = false;     // the file goes to the recent tables
  bool m_onlyAdded = true;       // every row read so far is an A row
  bool m_newestRemoved = false;  // a sale as new as the newest one was removed or moved
  ImportResult m_result;
  double m_done = 0;  // the share of the work done, as last ticked
  const std::chrono::steady_clock::time_point m_started = std::chrono::steady_clock::now();
  std::chrono::steady_clock::time_point m_lastReport = m_started;
};

Importer::Importer(Database& db, std::filesystem::path workFolder)
    : m_db(db), m_workFolder(std::move(workFolder)) {}

ImportResult Importer::importFile(const std::filesystem::path& file) {
  std::optional<Run> run;
  try {
    m_db.exec("BEGIN IMMEDIATE");
    run.emplace(*this, file);
    ImportResult result = run->go();
    run.reset();  // its temporary files go before the log is copied into the database
    m_db.exec("COMMIT");
    // Gives back the disk space the write-ahead log took; readers may hold some of it for now.
    // The file is imported whatever happens here: the next import or serve trims the log.
    try {
      m_db.exec("PRAGMA wal_checkpoint(TRUNCATE)");
    } catch (const SqliteError& error) {
      result.warning = m_db.path() + ": the write-ahead log was not trimmed: " + error.what();
    }
    return result;
  } catch (...) {
    run.reset();
    try {
      if (m_db.inTransaction()) m_db.exec("ROLLBACK");
    } catch (const SqliteError&) {
      // SQLite has rolled back on its own.
    }
    const bool stopped = m_stop && m_stop->load();
    try {
      throw;
    } catch (const SqliteError& error) {
      if (stopped || error.code() == SQLITE_INTERRUPT)
        throw ImportInterrupted(displayName(file) + ": import interrupted");
      throw std::runtime_error(m_db.path() + ": cannot be written: " + error.what());
    } catch (const ImportInterrupted&) {
      throw ImportInterrupted(displayName(file) + ": import interrupted");
    }
  }
}

}  // namespace korvane::listing
