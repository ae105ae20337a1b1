#include "sample_listing.h"

#include "importer.h"
#include "listing_db.h"
#include "sqlite.h"

#include <algorithm>
#include <atomic>
#include <stdexcept>
#include <vector>

namespace korvane::listing {

SampleListing::SampleListing(const std::filesystem::path& folder) {
  // SQLite's memdb file system shares a database between the connections of one process by
  // name while one of them stays open; each sample gets a name of its own.
  static std::atomic<int> made = 0;
  m_address = "file:/korvane-sample-" + std::to_string(++made) + "?vfs=memdb";

  std::vector<std::filesystem::path> files;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(folder, error))
    if (entry.path().extension() == ".csv") files.push_back(entry.path());
  if (error) throw std::runtime_error(folder.string() + ": " + error.message());
  if (files.empty()) throw std::runtime_error(folder.string() + ": no sample files (*.csv)");
  std::sort(files.begin(), files.end());

  m_db = openForImport(m_address);
  Importer importer(*m_db, std::filesystem::temp_directory_path());
  for (const auto& file : files) {
    const ImportResult result = importer.importFile(file);
    if (!result.firstRejected.empty()) {
      const RejectedRow& row = result.firstRejected.front();
      throw std::runtime_error(file.string() + ":" + std::to_string(row.line) + ": " + row.reason);
    }
  }
}

SampleListing::~SampleListing() = default;

}  // namespace korvane::listing
