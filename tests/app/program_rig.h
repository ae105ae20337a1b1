#pragma once

// The whole program against a loopback listing service, with pauses that do not really wait.

#include "app/program.h"
#include "net/fetch.h"
#include "support/files.h"
#include "support/loopback_server.h"
#include "support/recording_link_opener.h"
#include "support/recording_message_boxes.h"
#include "support/run_fakes.h"
#include "support/run_rig.h"
#include "util/program_end.h"

#include <filesystem>
#include <string>

namespace korvane::test {

struct ProgramRig {
  LoopbackServer server;
  TempDir programFolder;
  Journal journal;
  RecordingMessageBoxes boxes;
  RecordingLinkOpener links;
  PageFetcher pages;
  RecordingWaiter waiter{journal};
  RecordingBrowser runBrowser{journal};
  RecordingBrowser reportBrowser{journal};
  int endings = 0;
  std::unique_ptr<Program> program;

  ProgramRig() {
    resetProgramEnd();
    std::filesystem::create_directory(programFolder / "property");
    server.serve("/index.php", 200, kAcaciaPage);
    program = std::make_unique<Program>(
        ProgramSettings{server.url(""), "http://maker.example", "ads@maker.example",
                        programFolder.path()},
        ProgramServices{boxes, links, pages, waiter, runBrowser, reportBrowser},
        [this] { ++endings; });
  }
  ~ProgramRig() { resetProgramEnd(); }

  // As a real wait does: once the program is ending, a pause unwinds the run.
  void endWaitsWhenTheProgramEnds() {
    waiter.duringWait = [this](std::size_t index) {
      if (duringPause) duringPause(index);
      if (programEndRequested()) throw ProgramEnding();
    };
  }
  std::function<void(std::size_t)> duringPause;
};

}  // namespace korvane::test
