#pragma once

// The program-ending signal: once the progress window unloads, every wait in progress (and every
// later one) unwinds the run instead of letting it carry on.

#include <exception>
#include <functional>

namespace korvane {

// Thrown by a wait when the program is ending. Deliberately not a Failure, so that attempt() lets
// it through and the run unwinds to the event loop.
class ProgramEnding : public std::exception {
 public:
  const char* what() const noexcept override { return "the program is ending"; }
};

// Marks the program as ending and calls every registered listener once. Never fails.
void requestProgramEnd();

// True once requestProgramEnd() has been called (until resetProgramEnd()).
bool programEndRequested();

// Forgets an earlier requestProgramEnd(), for a fresh start within one process (tests).
void resetProgramEnd();

// While alive, onEnd is called when requestProgramEnd() is called. Used by waits to leave their
// event loop. Listeners live on the user-interface thread, as does requestProgramEnd().
class ProgramEndListener {
 public:
  explicit ProgramEndListener(std::function<void()> onEnd);
  ~ProgramEndListener();
  ProgramEndListener(const ProgramEndListener&) = delete;
  ProgramEndListener& operator=(const ProgramEndListener&) = delete;

 private:
  std::function<void()> m_onEnd;
  friend void requestProgramEnd();
};

}  // namespace korvane
