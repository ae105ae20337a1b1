#pragma once

// Sorts sales by post code, date of transfer and transaction id through sorted runs in a
// temporary file, so memory stays flat however many sales pass through.

#include "price_paid_row.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace korvane::listing {

class SaleSorter {
 public:
  // How many bytes of sales are sorted in memory before they go to the file as one run.
  static constexpr std::size_t kRunBytes = std::size_t{16} << 20;

  // The runs go to an unnamed temporary file in `folder`, gone when the sorter or the process
  // ends. Throws std::runtime_error naming the folder when the file cannot be made there.
  explicit SaleSorter(const std::filesystem::path& folder);
  ~SaleSorter();
  SaleSorter(const SaleSorter&) = delete;
  SaleSorter& operator=(const SaleSorter&) = delete;

  // Keeps a copy of the sale. Throws std::runtime_error when the temporary file cannot be
  // written (a full disk, say).
  void add(const Sale& sale);

  // Calls `take` with every sale added, in order of post code, date and transaction id. Of sales
  // that agree in all three only the one added last is taken. Returns how many were left out
  // that way. The sale passed to `take` is valid during the call only. Call once.
  std::uint64_t merge(const std::function<void(const Sale&)>& take);

 private:
  struct Entry {
    std::uint64_t postcodePrefix;
    std::uint64_t dateAndId;
    std::uint32_t offset;
  };
  struct Run {
    std::uint64_t begin, end;
  };

  void spill();
  void writeAll(const char* data, std::size_t size);

  std::filesystem::path m_folder;
  int m_fd = -1;
  std::string m_arena;  // packed sales of the run being gathered
  std::vector<Entry> m_entries;
  std::vector<Run> m_runs;
  std::uint64_t m_fileSize = 0;
};

}  // namespace korvane::listing
