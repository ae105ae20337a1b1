#pragma once

// Imports HM Land Registry Price Paid files into the listing database, one transaction per file.

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace korvane::listing {

class Database;

struct ImportCounts {
  std::uint64_t added = 0, replaced = 0, deleted = 0, rejected = 0;
  ImportCounts& operator+=(const ImportCounts& other);
};

struct RejectedRow {
  std::size_t line;  // from 1
  std::string reason;
};

struct ImportResult {
  ImportCounts counts;
  std::vector<RejectedRow> firstRejected;  // at most Importer::kReportedRejections
  std::string warning;  // what went wrong after the file was imported, if anything
};

struct ImportProgress {
  std::uint64_t rowsRead = 0;
  double done = 0;     // the share of the file's work done, 0 to 1; negative when unknown (a pipe)
  double seconds = 0;  // since the file's import began
};

// The import stopped because the stop flag was set; the database is as before the file.
class ImportInterrupted : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class Importer {
 public:
  static constexpr std::size_t kReportedRejections = 20;

  // Imports into `db` (opened by openForImport), which must outlive the importer. Temporary
  // files go to `workFolder`.
  Importer(Database& db, std::filesystem::path workFolder);

  // Called a few times a second while a file is imported.
  void onProgress(std::function<void(const ImportProgress&)> report) {
    m_report = std::move(report);
  }
  // While *stop is true an import stops at its next step and throws ImportInterrupted.
  void stopWhen(const std::atomic<bool>* stop) { m_stop = stop; }

  // Imports one Price Paid file ("-": standard input) as one transaction. A and C rows add the
  // sale or replace the one with their transaction id, D rows remove it; rows are applied in
  // file order. Rows that do not parse are counted and skipped, the first ones kept with their
  // line and reason. Throws std::runtime_error naming the file when it cannot be read or holds no
  // row that parses, naming the database when it cannot be written, or ImportInterrupted; the
  // database is then as before the file.
  ImportResult importFile(const std::filesystem::path& file);

 private:
  class Run;

  Database& m_db;
  std::filesystem::path m_workFolder;
  std::function<void(const ImportProgress&)> m_report;
  const std::atomic<bool>* m_stop = nullptr;
};

}  // namespace korvane::listing
