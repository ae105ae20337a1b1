#pragma once

// What the whole-run tests share: a sold-prices page, and every port of a run but the page
// source, recorded, with the work folder property/ in a fresh temporary folder.

#include "front/run_ports.h"
#include "support/files.h"
#include "support/recording_message_boxes.h"
#include "support/run_fakes.h"
#include "util/markup.h"
#include "util/run_buffer.h"

#include <filesystem>
#include <string>

namespace korvane::test {

// A sold-prices page for Acacia Avenue with an average of £250,000.
inline const std::string kAcaciaPage =
    "<html><body><h1>Sold prices for post codes starting AB1</h1>\r\n"
    "<p><a href=\"/s\">Show Acacia Avenue only</a></p>\r\n"
    "<table><tr><td>3 Acacia Avenue</td><td>\xA3"
    "180,000</td></tr></table>\r\n"
    "<p>Acacia Avenue, \xA3"
    "250,000 average</p>\r\n"
    "<p>Buying a home?</p></body></html>";

struct RunPortsRig {
  TempDir programFolder;
  Journal journal;
  FakeInputs inputs;
  RecordingProgress progress{journal};
  RecordingReport report{journal};
  RecordingWaiter waiter{journal};
  RecordingBrowser browser{journal};
  RecordingMessageBoxes boxes;
  RunBuffer buffer;
  WorkFolder work{programFolder.path()};

  RunPortsRig() { std::filesystem::create_directory(work.folder()); }

  // The ports, with pages as the page source.
  RunPorts ports(PageSource& pages) {
    return RunPorts{inputs, progress, report, pages, waiter, work, browser, boxes, buffer};
  }
};

}  // namespace korvane::test
