#include "program_end.h"

#include <algorithm>
#include <vector>

namespace korvane {
namespace {

bool g_ending = false;

std::vector<ProgramEndListener*>& listeners() {
  static std::vector<ProgramEndListener*> all;
  return all;
}

}  // namespace

ProgramEndListener::ProgramEndListener(std::function<void()> onEnd) : m_onEnd(std::move(onEnd)) {
  listeners().push_back(this);
}

ProgramEndListener::~ProgramEndListener() { std::erase(listeners(), this); }

void requestProgramEnd() {
  g_ending = true;
  // A listener may end a wait whose unwinding destroys other listeners: work on a copy and skip
  // any that are gone by the time their turn comes.
  const std::vector<ProgramEndListener*> snapshot = listeners();
  for (ProgramEndListener* listener : snapshot) {
    if (std::find(listeners().begin(), listeners().end(), listener) != listeners().end() &&
        listener->m_onEnd)
      listener->m_onEnd();
  }
}

bool programEndRequested() { return g_ending; }

void resetProgramEnd() { g_ending = false; }

}  // namespace korvane
