#pragma once

// Adds an import's sales to its two sorters on a thread of its own, so that sorting one batch
// of rows overlaps with reading the next.

#include <condition_variable>
#include <cstdint>
#include <exception>
#include <mutex>
#include <string>
#include <thread>

namespace korvane::listing {

class SaleSorter;
struct Sale;

class SortThread {
 public:
  // Every sale goes to `byId`; all but D rows to `byPlace` too. The sorters are the thread's
  // until finish returns.
  SortThread(SaleSorter& byPlace, SaleSorter& byId);
  ~SortThread();  // stops the thread; what it had not added is lost
  SortThread(const SortThread&) = delete;
  SortThread& operator=(const SortThread&) = delete;

  // Queues the sale with its number. Rethrows what a sorter threw on the thread.
  void add(const Sale& sale, std::uint64_t number);
  // Returns when every sale queued is in its sorters. Rethrows what a sorter threw.
  void finish();

 private:
  void handOver();
  void run();

  SaleSorter& m_byPlace;
  SaleSorter& m_byId;
  std::string m_filling;  // packed sales, for the next hand-over
  std::mutex m_mutex;
  std::condition_variable m_changed;
  std::string m_handed;  // packed sales the thread has yet to take, under m_mutex
  bool m_busy = false;   // the thread is adding a batch
  bool m_ending = false;
  std::exception_ptr m_failure;
  std::thread m_thread;  // last: starts once the rest is ready
};

}  // namespace korvane::listing
