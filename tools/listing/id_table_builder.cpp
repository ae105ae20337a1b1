#include "id_table_builder.h"

#include "importer.h"
#include "listing_db.h"
#include "sale_sorter.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <sqlite3.h>
#include <stdexcept>

namespace korvane::listing {

IdTableBuilder::IdTableBuilder(Database& listing, const std::filesystem::path& folder)
    : m_listing(listing) {
  std::string name = (folder / "korvane-import-ids-XXXXXX").string();
  const int fd = ::mkostemp(name.data(), O_CLOEXEC);
  if (fd < 0)
    throw std::runtime_error(folder.string() +
                             ": cannot make a temporary file: " + std::strerror(errno));
  ::close(fd);
  m_file = name;
  try {
    Database scratch(name, SQLITE_OPEN_READWRITE);
    scratch.exec("PRAGMA page_size = 16384");
    scratch.exec(kSaleIdsSchema);
    m_listing.prepare("ATTACH ?1 AS scratch").bind(1, name).step();
    m_attached = true;
  } catch (const SqliteError& error) {
    std::filesystem::remove(m_file);
    throw std::runtime_error(name + ": cannot be written: " + error.what());
  }
}

IdTableBuilder::~IdTableBuilder() {
  stop();
  try {
    if (m_attached) m_listing.exec("DETACH scratch");
  } catch (const SqliteError&) {
    // Still in the listing's transaction: the scratch database goes with the connection.
  }
  std::error_code ignored;
  std::filesystem::remove(m_file, ignored);
}

void IdTableBuilder::start(SaleSorter& byId, const std::atomic<bool>* stop) {
  m_thread = std::thread([this, &byId, stop] {
    try {
      write(byId, stop);
    } catch (...) {
      m_failure = std::current_exception();
    }
  });
}

void IdTableBuilder::stop() {
  m_cancel = true;
  if (m_thread.joinable()) m_thread.join();
}

bool IdTableBuilder::finish() {
  if (m_thread.joinable()) m_thread.join();
  if (m_failure) std::rethrow_exception(m_failure);
  if (m_unique && !m_written) throw ImportInterrupted("stopped");
  return m_unique;
}

void IdTableBuilder::copyIntoListing() {
  m_listing.exec("INSERT INTO main.sale_ids SELECT * FROM scratch.sale_ids");
}

// Runs on the thread: the scratch database is its own, so it needs no journal.
void IdTableBuilder::write(SaleSorter& byId, const std::atomic<bool>* stop) {
  Database scratch(m_file.string(), SQLITE_OPEN_READWRITE);
  scratch.exec(
      "PRAGMA journal_mode = OFF; PRAGMA synchronous = OFF; PRAGMA cache_size = -8192;"
      "BEGIN");
  Statement store = scratch.prepare("INSERT INTO sale_ids VALUES (?1, ?2, ?3)");
  Sale previous;
  std::uint64_t written = 0;
  struct Stopped {};
  try {
    byId.merge([&](const Sale& sale, std::uint64_t) {
      if ((++written & 1023) == 0 && (m_cancel || (stop && stop->load()))) throw Stopped();
      if (written > 1 && sale.id == previous.id) {
        m_unique = false;
        throw Stopped();
      }
      previous.id = sale.id;
      store.bindBlob(1, sale.id.data(), 16).bind(2, sale.postcode).bind(3, sale.date).step();
      store.reset();
    });
  } catch (const Stopped&) {
    return;  // the scratch database is thrown away
  }
  scratch.exec("COMMIT");
  m_written = true;
}

}  // namespace korvane::listing
