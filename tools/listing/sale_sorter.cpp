#include "sale_sorter.h"

#include "base/write_all.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace korvane::listing {
namespace {

// A packed sale: length, date, id, price, tag and status at fixed places, then ten texts, each a
// 32-bit length and its bytes.
constexpr std::size_t kDateAt = 4, kIdAt = 8, kPriceAt = 24, kTagAt = 32, kStatusAt = 40,
                      kTextsAt = 41;

template <class T>
T load(const char* at) {
  T value;
  std::memcpy(&value, at, sizeof value);
  return value;
}

std::string_view postcodeOf(const char* record) {
  return {record + kTextsAt + 4, load<std::uint32_t>(record + kTextsAt)};
}

// Post code, then date, then id.
int compareByPlace(const char* a, const char* b) {
  if (const int byPostcode = postcodeOf(a).compare(postcodeOf(b))) return byPostcode;
  const auto dateA = load<std::int32_t>(a + kDateAt), dateB = load<std::int32_t>(b + kDateAt);
  if (dateA != dateB) return dateA < dateB ? -1 : 1;
  return std::memcmp(a + kIdAt, b + kIdAt, 16);
}

std::uint64_t bigEndian(const char* bytes, std::size_t size) {
  std::uint64_t value = 0;
  for (std::size_t i = 0; i < 8; ++i)
    value = value << 8 | (i < size ? static_cast<std::uint8_t>(bytes[i]) : 0);
  return value;
}

// Sales sorted by id are packed with their post code only: the other texts are left empty.
std::uint64_t unpack(const char* record, Sale& sale, bool withTexts) {
  sale.date = load<std::int32_t>(record + kDateAt);
  std::memcpy(sale.id.data(), record + kIdAt, 16);
  sale.price = load<std::int64_t>(record + kPriceAt);
  sale.status = record[kStatusAt];
  const char* at = record + kTextsAt;
  auto next = [&at] {
    const auto size = load<std::uint32_t>(at);
    const std::string_view text(at + 4, size);
    at += 4 + size;
    return text;
  };
  sale.postcode.assign(next());
  for (std::string_view* text :
       {&sale.propertyType, &sale.newBuild, &sale.tenure, &sale.paon, &sale.saon, &sale.street,
        &sale.locality, &sale.town, &sale.category})
    *text = withTexts ? next() : std::string_view();
  return load<std::uint64_t>(record + kTagAt);
}

// Reads one run back through a small buffer.
class RunCursor {
 public:
  RunCursor(int fd, std::uint64_t begin, std::uint64_t end, std::size_t index)
      : m_fd(fd), m_next(begin), m_end(end), m_index(index) {}

  // The current record, or nullptr when the run is used up.
  const char* current() {
    if (!ensure(4)) return nullptr;
    ensure(load<std::uint32_t>(m_buffer.data() + m_at));
    return m_buffer.data() + m_at;
  }
  void advance() { m_at += load<std::uint32_t>(m_buffer.data() + m_at); }
  std::size_t index() const { return m_index; }

 private:
  // Makes `size` bytes from the current place available; false when the run holds fewer.
  bool ensure(std::size_t size) {
    if (m_filled - m_at >= size) return true;
    if (m_filled - m_at + (m_end - m_next) < size) return false;
    std::memmove(m_buffer.data(), m_buffer.data() + m_at, m_filled - m_at);
    m_filled -= m_at;
    m_at = 0;
    if (m_buffer.size() < size) m_buffer.resize(size);
    const std::size_t want = std::min<std::uint64_t>(m_buffer.size() - m_filled, m_end - m_next);
    std::size_t got = 0;
    while (got < want) {
      const ssize_t n = ::pread(m_fd, m_buffer.data() + m_filled + got, want - got,
                                static_cast<off_t>(m_next + got));
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0)
        throw std::runtime_error(std::string("temporary file: read failed: ") +
                                 std::strerror(n < 0 ? errno : EIO));
      got += static_cast<std::size_t>(n);
    }
    m_filled += got;
    m_next += got;
    return true;
  }

  int m_fd;
  std::uint64_t m_next, m_end;
  std::size_t m_index;
  std::vector<char> m_buffer = std::vector<char>(std::size_t{64} << 10);
  std::size_t m_at = 0, m_filled = 0;
};

}  // namespace

SaleSorter::SaleSorter(Order order, std::filesystem::path folder)
    : m_order(order), m_folder(std::move(folder)), m_arena(new char[kRunBytes]) {
  m_entries.reserve(kRunBytes / 64);
}

SaleSorter::~SaleSorter() {
  if (m_fd >= 0) ::close(m_fd);
}

void SaleSorter::add(const Sale& sale, std::uint64_t tag) {
  m_packed.clear();
  pack(sale, tag, m_packed);
  addPacked(m_packed.data());
}

void SaleSorter::pack(const Sale& sale, std::uint64_t tag, std::string& out) {
  const std::string_view texts[] = {sale.postcode, sale.propertyType, sale.newBuild, sale.tenure,
                                    sale.paon,     sale.saon,         sale.street,   sale.locality,
                                    sale.town,     sale.category};
  std::size_t length = kTextsAt;
  for (std::string_view text : texts) length += 4 + text.size();
  const std::size_t at = out.size();
  out.resize(at + length);
  char* to = out.data() + at;
  auto put = [&to](const void* bytes, std::size_t size) {
    if (size == 0) return;  // an empty text may have no bytes at all to point at
    std::memcpy(to, bytes, size);
    to += size;
  };
  const auto length32 = static_cast<std::uint32_t>(length);
  const std::int32_t date = sale.date;
  put(&length32, 4);
  put(&date, 4);
  put(sale.id.data(), 16);
  put(&sale.price, 8);
  put(&tag, 8);
  put(&sale.status, 1);
  for (std::string_view text : texts) {
    const auto size = static_cast<std::uint32_t>(text.size());
    put(&size, 4);
    put(text.data(), text.size());
  }
}

std::size_t SaleSorter::packedSize(const char* record) { return load<std::uint32_t>(record); }

char SaleSorter::packedStatus(const char* record) { return record[kStatusAt]; }

// Sorted by id, a sale keeps its post code only of its texts.
void SaleSorter::addPacked(const char* record) {
  const std::string_view postcode = postcodeOf(record);
  const std::size_t length =
      m_order == Order::ById ? kTextsAt + 4 + postcode.size() : load<std::uint32_t>(record);
  if (m_used + length > kRunBytes) spill();  // a line is at most 1 MiB: a sale always fits

  const std::size_t at = m_used;
  char* out = m_arena.get() + at;
  std::memcpy(out, record, length);
  const auto length32 = static_cast<std::uint32_t>(length);
  std::memcpy(out, &length32, 4);
  m_used += length;
  const char* id = record + kIdAt;
  if (m_order == Order::ById) {
    m_entries.push_back({bigEndian(id, 8), bigEndian(id + 8, 8), static_cast<std::uint32_t>(at)});
  } else {
    const auto date = static_cast<std::uint32_t>(load<std::int32_t>(record + kDateAt));
    m_entries.push_back({bigEndian(postcode.data(), postcode.size()),
                         std::uint64_t{date} << 32 | bigEndian(id, 4) >> 32,
                         static_cast<std::uint32_t>(at)});
  }
  ++m_added;
}

int SaleSorter::compare(const char* a, const char* b) const {
  if (m_order == Order::ByPlace) return compareByPlace(a, b);
  if (const int byId = std::memcmp(a + kIdAt, b + kIdAt, 16)) return byId;
  const auto tagA = load<std::uint64_t>(a + kTagAt), tagB = load<std::uint64_t>(b + kTagAt);
  return tagA < tagB ? -1 : tagA > tagB;
}

// Sorts the gathered sales; equal ones keep the order they were added in.
void SaleSorter::sortEntries() {
  const char* arena = m_arena.get();
  std::sort(m_entries.begin(), m_entries.end(), [this, arena](const Entry& a, const Entry& b) {
    if (a.first != b.first) return a.first < b.first;
    if (a.second != b.second) return a.second < b.second;
    const int order = compare(arena + a.offset, arena + b.offset);
    return order != 0 ? order < 0 : a.offset < b.offset;
  });
}

// Appends the gathered sales to the file, sorted, as one run.
void SaleSorter::spill() {
  if (m_entries.empty()) return;
  if (m_fd < 0) {
    std::string name = (m_folder / "korvane-import-XXXXXX").string();
    m_fd = ::mkostemp(name.data(), O_CLOEXEC);
    if (m_fd < 0)
      throw std::runtime_error(m_folder.string() +
                               ": cannot make a temporary file: " + std::strerror(errno));
    ::unlink(name.c_str());
  }
  sortEntries();
  const char* arena = m_arena.get();
  std::string out;
  out.reserve(std::size_t{1} << 20);
  const std::uint64_t begin = m_fileSize;
  for (const Entry& entry : m_entries) {
    out.append(arena + entry.offset, load<std::uint32_t>(arena + entry.offset));
    if (out.size() >= (std::size_t{1} << 20)) {
      writeAll(out.data(), out.size());
      out.clear();
    }
  }
  writeAll(out.data(), out.size());
  m_runs.push_back({begin, m_fileSize});
  m_entries.clear();
  m_used = 0;
}

void SaleSorter::writeAll(const char* data, std::size_t size) {
  if (const int error = korvane::writeAll(m_fd, data, size)) {
    throw std::runtime_error(m_folder.string() +
                             ": cannot write a temporary file: " + std::strerror(error));
  }
  m_fileSize += size;
}

// The runs in the file, merged: a min-heap of them by their current sale, of equal sales the
// earlier run first. The run of the sale last given stays out of the heap until the next one.
class SaleSorter::Reader::Runs {
 public:
  explicit Runs(SaleSorter& sorter) : m_sorter(sorter) {
    m_cursors.reserve(sorter.m_runs.size());
    for (const Run& run : sorter.m_runs)
      m_cursors.emplace_back(sorter.m_fd, run.begin, run.end, m_cursors.size());
    for (RunCursor& cursor : m_cursors)
      if (cursor.current()) m_heap.push_back(&cursor);
    std::make_heap(m_heap.begin(), m_heap.end(), later());
  }

  // The next sale in order, or nullptr.
  const char* next() {
    if (m_given) {
      m_given->advance();
      if (m_given->current()) {
        m_heap.push_back(m_given);
        std::push_heap(m_heap.begin(), m_heap.end(), later());
      }
      m_given = nullptr;
    }
    if (m_heap.empty()) return nullptr;
    std::pop_heap(m_heap.begin(), m_heap.end(), later());
    m_given = m_heap.back();
    m_heap.pop_back();
    return m_given->current();
  }

 private:
  struct Later {
    const SaleSorter* sorter;
    bool operator()(RunCursor* a, RunCursor* b) const {
      const int order = sorter->compare(a->current(), b->current());
      return order != 0 ? order > 0 : a->index() > b->index();
    }
  };
  Later later() const { return {&m_sorter}; }

  SaleSorter& m_sorter;
  std::vector<RunCursor> m_cursors;
  std::vector<RunCursor*> m_heap;
  RunCursor* m_given = nullptr;
};

SaleSorter::Reader::Reader(SaleSorter& sorter) : m_sorter(sorter) {
  if (sorter.m_runs.empty()) {  // everything fits in memory: no file
    sorter.sortEntries();
    return;
  }
  sorter.spill();
  sorter.m_arena.reset();
  sorter.m_entries = std::vector<Entry>();
  m_runs = std::make_unique<Runs>(sorter);
}

SaleSorter::Reader::~Reader() = default;

bool SaleSorter::Reader::next() {
  const char* record = nullptr;
  if (m_runs) {
    record = m_runs->next();
  } else if (m_next < m_sorter.m_entries.size()) {
    record = m_sorter.m_arena.get() + m_sorter.m_entries[m_next++].offset;
  }
  if (!record) return false;
  m_tag = unpack(record, m_sale, m_sorter.m_order == Order::ByPlace);
  return true;
}

SaleSorter::Reader SaleSorter::read() { return Reader(*this); }

}  // namespace korvane::listing
