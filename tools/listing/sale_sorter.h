#pragma once

// Sorts sales by their place in the listing (post code, date of transfer, transaction id) or by
// transaction id, through sorted runs in a temporary file, so memory stays flat however many
// sales pass through.

#include "price_paid_row.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace korvane::listing {

class SaleSorter {
 public:
  // How many bytes of sales are sorted in memory before they go to the file as one run.
  static constexpr std::size_t kRunBytes = std::size_t{32} << 20;

  enum class Order {
    // Post code, date, transaction id.
    ByPlace,
    // Transaction id, then tag. Keeps the post code of the sale's texts only.
    ById,
  };

  // Runs that do not fit in memory go to an unnamed temporary file in `folder`, made when the
  // first run is written and gone when the sorter or the process ends.
  SaleSorter(Order order, std::filesystem::path folder);
  ~SaleSorter();
  SaleSorter(const SaleSorter&) = delete;
  SaleSorter& operator=(const SaleSorter&) = delete;

  // Keeps a copy of the sale and the caller's `tag` for it. Throws std::runtime_error naming the
  // folder when the temporary file cannot be made or written (a full disk, say).
  void add(const Sale& sale, std::uint64_t tag = 0);

  // A sale and its tag packed into `out`, for addPacked on another thread: `add` in two halves.
  static void pack(const Sale& sale, std::uint64_t tag, std::string& out);
  // The size and the status of the packed sale at `record`.
  static std::size_t packedSize(const char* record);
  static char packedStatus(const char* record);
  // Keeps a copy of a packed sale.
  void addPacked(const char* record);
  std::uint64_t size() const { return m_added; }

  // Gives every sale added and its tag, in order, one at a time. Sales added after the first
  // reader was made are lost.
  class Reader {
   public:
    ~Reader();
    // Moves to the next sale: false when there is none. The sale and its tag are valid until
    // the next call. Throws std::runtime_error when the temporary file cannot be read.
    bool next();
    const Sale& sale() const { return m_sale; }
    std::uint64_t tag() const { return m_tag; }

   private:
    friend class SaleSorter;
    class Runs;
    explicit Reader(SaleSorter& sorter);

    SaleSorter& m_sorter;
    std::unique_ptr<Runs> m_runs;  // when the sales went to the file
    std::size_t m_next = 0;        // in the sorted entries, when they did not
    Sale m_sale;
    std::uint64_t m_tag = 0;
  };
  Reader read();

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
  std::string m_packed;  // add's sale
  std::filesystem::path m_folder;
  int m_fd = -1;
  std::unique_ptr<char[]> m_arena;  // packed sales of the run being gathered
  std::size_t m_used = 0;
  std::vector<Entry> m_entries;
  std::vector<Run> m_runs;
  std::uint64_t m_fileSize = 0;
  std::uint64_t m_added = 0;
};

}  // namespace korvane::listing
