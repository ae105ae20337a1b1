#include "importer.h"

#include "line_reader.h"
#include "listing_db.h"
#include "price_paid_row.h"
#include "sale_sorter.h"
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

// One file's import inside its transaction.
//
// Into an empty listing the sales are gathered, sorted by post code and date, and written in
// that order: writing the table in key order is several times faster than in file order. Once
// the listing holds sales, and from the first C or D row, each row is applied where it belongs,
// found by its transaction id.
class Importer::Run {
 public:
  Run(Importer& importer, const std::filesystem::path& file)
      : m_db(importer.m_db),
        m_importer(importer),
        m_reader(file),
        m_insert(m_db.prepare("INSERT INTO sales VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, "
                              "?10, ?11, ?12, ?13)")) {}

  ImportResult go() {
    m_previousNewest = newestSale(m_db);
    if (m_db.single("SELECT count(*) FROM (SELECT 1 FROM sales LIMIT 1)") == 0) {
      m_db.exec("DROP INDEX IF EXISTS sales_by_id");
      m_sorter.emplace(m_importer.m_workFolder);
    } else {
      applyRowByRow();
    }

    std::string_view line;
    while (m_reader.next(line)) {
      if ((++m_rowsRead & 1023) == 0) tick(readShare());
      if (line.empty()) continue;
      const std::string problem = m_reader.tooLong() ? "line longer than 1 MiB" : m_row.read(line);
      if (!problem.empty()) {
        reject(problem);
        continue;
      }
      const Sale& sale = m_row.sale();
      if (m_sorter && sale.status != 'A') applyRowByRow();
      if (m_sorter) {
        m_sorter->add(sale);
        ++m_gathered;
        m_newestAdded = std::max(m_newestAdded, sale.date);
      } else {
        apply(sale);
      }
    }
    writeGathered();

    setNewestSale(m_db, m_rescan ? static_cast<int>(m_db.single("SELECT max(date) FROM sales"))
                                 : std::max(m_previousNewest, m_newestAdded));
    return m_result;
  }

 private:
  // Writes the sales gathered for sorting, if any, in order.
  void writeGathered() {
    if (!m_sorter) return;
    std::uint64_t written = 0;
    m_result.counts.replaced += m_sorter->merge([&](const Sale& sale) {
      insert(sale);
      ++m_result.counts.added;
      if ((++written & 1023) == 0) tick(0.5 + 0.5 * static_cast<double>(written) / m_gathered);
    });
    m_sorter.reset();
    m_wroteGathered = true;
  }

  // Writes what was gathered, if anything, and goes on row by row.
  void applyRowByRow() {
    writeGathered();
    ensureIdIndex();
    m_find.emplace(m_db.prepare("SELECT date FROM sales WHERE id = ?1"));
    m_remove.emplace(m_db.prepare("DELETE FROM sales WHERE id = ?1"));
  }

  void apply(const Sale& sale) {
    m_find->bindBlob(1, sale.id.data(), sale.id.size());
    const bool present = m_find->step();
    if (present && m_find->integer(0) >= m_previousNewest) m_rescan = true;
    m_find->reset();
    if (present) {
      m_remove->bindBlob(1, sale.id.data(), sale.id.size()).step();
      m_remove->reset();
    }
    if (sale.status == 'D') {
      m_result.counts.deleted += present;
      return;
    }
    ++(present ? m_result.counts.replaced : m_result.counts.added);
    insert(sale);
    m_newestAdded = std::max(m_newestAdded, sale.date);
  }

  void insert(const Sale& sale) {
    m_insert.bind(1, sale.postcode)
        .bind(2, sale.date)
        .bindBlob(3, sale.id.data(), sale.id.size())
        .bind(4, sale.price)
        .bind(5, sale.propertyType)
        .bind(6, sale.newBuild)
        .bind(7, sale.tenure)
        .bind(8, sale.paon)
        .bind(9, sale.saon)
        .bind(10, sale.street)
        .bind(11, sale.locality)
        .bind(12, sale.town)
        .bind(13, sale.category)
        .step();
    m_insert.reset();
  }

  // The index that finds a sale by its transaction id, built when a file is to be applied row by
  // row and not before: a first import into an empty listing is done without it. Sales gathered
  // from one file may share an id under different post codes or dates; the one with the latest
  // date stays.
  void ensureIdIndex() {
    if (m_db.single("SELECT count(*) FROM sqlite_schema WHERE name = 'sales_by_id'") > 0) return;
    if (m_importer.m_report) m_importer.m_report({m_rowsRead, -1, elapsed(), "indexing ids"});
    try {
      m_db.exec("CREATE UNIQUE INDEX IF NOT EXISTS sales_by_id ON sales (id)");
      return;
    } catch (const SqliteError& error) {
      if (error.code() != SQLITE_CONSTRAINT) throw;
    }
    m_db.exec("CREATE INDEX sales_by_id ON sales (id)");
    m_db.exec(
        "DELETE FROM sales WHERE EXISTS (SELECT 1 FROM sales AS other WHERE other.id = sales.id "
        "AND (other.date, other.postcode) > (sales.date, sales.postcode))");
    const auto removed = static_cast<std::uint64_t>(m_db.changes());
    if (m_wroteGathered) m_result.counts.added -= removed;  // else an earlier import added them
    m_result.counts.replaced += removed;
    m_db.exec("DROP INDEX sales_by_id; CREATE UNIQUE INDEX sales_by_id ON sales (id)");
    m_rescan = true;
  }

  void reject(const std::string& problem) {
    if (m_result.firstRejected.size() < kReportedRejections)
      m_result.firstRejected.push_back({m_reader.lineNumber(), problem});
    ++m_result.counts.rejected;
  }

  // The share of the work done while reading: gathered sales still have to be written after.
  double readShare() const {
    if (m_reader.size() == 0) return -1;
    const double read = static_cast<double>(m_reader.offset()) / m_reader.size();
    return m_sorter ? read / 2 : read;
  }

  void tick(double done) {
    if (m_importer.m_stop && m_importer.m_stop->load()) throw ImportInterrupted("stopped");
    const auto now = std::chrono::steady_clock::now();
    if (!m_importer.m_report || now - m_lastReport < std::chrono::milliseconds(200)) return;
    m_lastReport = now;
    m_importer.m_report({m_rowsRead, m_reader.size() == 0 ? -1 : done, elapsed(), {}});
  }

  double elapsed() const {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - m_started).count();
  }

  Database& m_db;
  Importer& m_importer;
  LineReader m_reader;
  PricePaidRow m_row;
  Statement m_insert;
  std::optional<Statement> m_find, m_remove;
  std::optional<SaleSorter> m_sorter;
  std::uint64_t m_gathered = 0;
  std::uint64_t m_rowsRead = 0;
  int m_previousNewest = 0, m_newestAdded = 0;
  bool m_rescan = false;  // a sale as new as the newest one was removed or replaced
  bool m_wroteGathered = false;
  ImportResult m_result;
  const std::chrono::steady_clock::time_point m_started = std::chrono::steady_clock::now();
  std::chrono::steady_clock::time_point m_lastReport = m_started;
};

Importer::Importer(Database& db, std::filesystem::path workFolder)
    : m_db(db), m_workFolder(std::move(workFolder)) {}

void Importer::stopWhen(const std::atomic<bool>* stop) {
  m_stop = stop;
  m_db.stopWhen(stop);
}

ImportResult Importer::importFile(const std::filesystem::path& file) {
  std::optional<Run> run;
  try {
    m_db.exec("BEGIN IMMEDIATE");
    run.emplace(*this, file);
    ImportResult result = run->go();
    m_db.exec("COMMIT");
    // Gives back the disk space the write-ahead log took; readers may hold some of it for now.
    m_db.exec("PRAGMA wal_checkpoint(TRUNCATE)");
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
        throw ImportInterrupted(file.string() + ": import interrupted");
      throw std::runtime_error(m_db.path() + ": cannot be written: " + error.what());
    } catch (const ImportInterrupted&) {
      throw ImportInterrupted(file.string() + ": import interrupted");
    }
  }
}

}  // namespace korvane::listing
