#pragma once

// Writes sale_ids for an import into an empty listing on a thread of its own, while the
// listing's connection writes the sales: into a scratch database beside the listing, which is
// then copied in with one INSERT ... SELECT *. SQLite carries that statement out by moving the
// records as they are, several times faster than inserting them one by one.

#include "sqlite.h"

#include <atomic>
#include <exception>
#include <filesystem>
#include <memory>
#include <thread>

namespace korvane::listing {

class SaleSorter;

class IdTableBuilder {
 public:
  // Makes the scratch database in `folder` and attaches it to `listing`, which must not be in a
  // transaction: SQLite attaches only outside one. Throws std::runtime_error naming the folder.
  IdTableBuilder(Database& listing, const std::filesystem::path& folder);
  // Stops the thread, detaches the scratch database and removes it.
  ~IdTableBuilder();
  IdTableBuilder(const IdTableBuilder&) = delete;
  IdTableBuilder& operator=(const IdTableBuilder&) = delete;

  // Starts writing the ids `byId` gives (a SaleSorter::Order::ById sorter, which the thread
  // uses until finish) with their places. It stops early while *stop is true.
  void start(SaleSorter& byId, const std::atomic<bool>* stop);
  // Waits for the thread: false when an id came twice. Rethrows what the thread threw, and
  // throws ImportInterrupted when it stopped early.
  bool finish();
  // Stops the thread, if it runs, and waits for it.
  void stop();
  // Copies the ids into the listing's empty sale_ids, within the listing's transaction.
  void copyIntoListing();

 private:
  void write(SaleSorter& byId, const std::atomic<bool>* stop);

  Database& m_listing;
  std::filesystem::path m_file;
  bool m_attached = false;
  std::thread m_thread;
  std::atomic<bool> m_cancel{false};
  bool m_unique = true;    // no id came twice
  bool m_written = false;  // every id is in the scratch database
  std::exception_ptr m_failure;
};

}  // namespace korvane::listing
