#pragma once

#include <thread>

namespace korvane::component {

// The thread an object was created on. Objects run calls only there; a call from any other
// thread is refused with RPC_E_WRONG_THREAD because nothing here marshals calls across threads.
class Apartment {
 public:
  Apartment() : m_thread(std::this_thread::get_id()) {}

  // Returns true iff the calling thread is the object's own thread.
  bool isCurrent() const { return std::this_thread::get_id() == m_thread; }

 private:
  std::thread::id m_thread;
};

}  // namespace korvane::component
