#pragma once

// The whole program against a loopback listing service, with pauses that do not really wait.

#include "app/program.h"
#include "front/main_window.h"
#include "net/fetch.h"
#include "platform/svg_picture.h"
#include "support/loopback_server.h"
#include "support/recording_link_opener.h"
#include "support/run_fakes.h"
#include "util/program_end.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTest>

namespace korvane::test {

struct ProgramRig {
  LoopbackServer server;
  TempDir programFolder;
  RecordingMessageBoxes boxes;
  RecordingLinkOpener links;
  PageFetcher pages;
  RecordingWaiter waiter;
  RecordingBrowser runBrowser, reportBrowser;
  int endings = 0;
  std::function<void(std::size_t)> duringPause;  // runs inside each pause with its index
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
    // As a real wait does: once the program is ending, a pause unwinds what waits in it.
    waiter.duringWait = [this](std::size_t index) {
      if (duringPause) duringPause(index);
      if (programEndRequested()) throw ProgramEnding();
    };
    program->start();
  }
  ~ProgramRig() { resetProgramEnd(); }

  // Types the details of a house in AB1 and clicks Predict.
  void predict() {
    frm_front& front = program->front();
    QTest::keyClicks(front.txt_postcode(), "AB1");
    front.txt_bedrooms()->setCurrentIndex(2);
    front.txt_propertytype()->lineEdit()->clear();
    QTest::keyClicks(front.txt_propertytype(), "Detached");
    front.txt_valuation()->selectAll();
    QTest::keyClicks(front.txt_valuation(), QString::fromUtf8("£260,000"));
    front.txt_purchasedago()->setCurrentIndex(6);
    QTest::mouseClick(front.Image3(), Qt::LeftButton);
  }
};

}  // namespace korvane::test
