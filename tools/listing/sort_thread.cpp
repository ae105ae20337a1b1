#include "sort_thread.h"

#include "sale_sorter.h"

namespace korvane::listing {
namespace {

// Sales are handed over in batches of about this many bytes.
constexpr std::size_t kBatchBytes = std::size_t{1} << 20;

}  // namespace

SortThread::SortThread(SaleSorter& byPlace, SaleSorter& byId)
    : m_byPlace(byPlace), m_byId(byId), m_thread([this] { run(); }) {
  m_filling.reserve(kBatchBytes + 4096);
}

SortThread::~SortThread() {
  {
    std::lock_guard lock(m_mutex);
    m_ending = true;
    m_handed.clear();
  }
  m_changed.notify_all();
  m_thread.join();
}

void SortThread::add(const Sale& sale, std::uint64_t number) {
  SaleSorter::pack(sale, number, m_filling);
  if (m_filling.size() >= kBatchBytes) handOver();
}

void SortThread::finish() {
  handOver();
  std::unique_lock lock(m_mutex);
  m_changed.wait(lock, [this] { return (m_handed.empty() && !m_busy) || m_failure; });
  if (m_failure) std::rethrow_exception(m_failure);
}

// Waits until the thread has taken the last batch, then hands it the one filled since.
void SortThread::handOver() {
  {
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return m_handed.empty() || m_failure; });
    if (m_failure) std::rethrow_exception(m_failure);
    m_handed.swap(m_filling);
  }
  m_changed.notify_all();
  m_filling.clear();
}

void SortThread::run() {
  std::string batch;
  for (;;) {
    {
      std::unique_lock lock(m_mutex);
      m_busy = false;
      m_changed.notify_all();
      m_changed.wait(lock, [this] { return !m_handed.empty() || m_ending; });
      if (m_ending) return;
      batch.swap(m_handed);
      m_busy = true;
    }
    m_changed.notify_all();
    try {
      for (std::size_t at = 0; at < batch.size(); at += SaleSorter::packedSize(&batch[at])) {
        m_byId.addPacked(&batch[at]);
        if (SaleSorter::packedStatus(&batch[at]) != 'D') m_byPlace.addPacked(&batch[at]);
      }
    } catch (...) {
      std::lock_guard lock(m_mutex);
      m_failure = std::current_exception();
      m_busy = false;
      m_changed.notify_all();
      return;
    }
    batch.clear();
  }
}

}  // namespace korvane::listing
