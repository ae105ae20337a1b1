#pragma once

// Sorts sales by their place in the listing (post code, date of transfer, transaction id) or by
// transaction id, through sorted runs in a temporary file, so memory stays flat however many
// sales pass through.

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
  static constexpr std::size_t kRunBytes = std::size_t{32} << 20;

  enum class Order {
    // Post code, date, transaction id; of equal ones a removal (status 'D') comes first.
    ByPlace,
    // Transaction id; equal ones in the order they were added.
    ById,
  };

  // Runs that do not fit in memory go to an unnamed temporary file in `folder`, made when the
  // first run is written and gone when the sorter or the process ends.
  SaleSorter(Order order, std::filesystem::path folder);
  ~SaleSorter();
  SaleSorter(const SaleSorter&) = delete;
  SaleSorter& operator=(const SaleSorter&) = delete;

  // Keeps a copy of the sale. Throws std::runtime_error naming the folder when the temporary
  // file cannot be made or written (a full disk, say).
  void add(const Sale& sale);
  std::uint64_t size() const { return m_added; }

  // Calls `take` with every sale added, in order. The sale passed to `take` is valid during the
  // call only. Call once.
  void merge(const std::function<void(const Sale&)>& take);

 private:
  // The first 16 bytes of a sale's order, as two numbers, and where the sale is in the arena.
  struct Entry {
    std::uint64_t first, second;
    std::uint32_t offset;
  };
  struct Run {
    std::uint64_t begin, end;
  };

  int compare(const char* a, const char* b) const;
  void sortEntries();
  void spill();
  void writeAll(const char* data, std::size_t size);

  Order m_order;
  std::filesystem::path m_folder;
  int m_fd = -1;
  std::string m_arena;  // packed sales of the run being gathered
  std::vector<Entry> m_entries;
  std::vector<Run> m_runs;
  std::uint64_t m_fileSize = 0;
  std::uint64_t m_added = 0;
};

}  // namespace korvane::listing
