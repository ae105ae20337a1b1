#pragma once

// DoProc: one valuation run, from the request to the report, over the ports of run_ports.h.

#include "front/run_ports.h"

#include <string>

namespace korvane {

class ValuationRun {
 public:
  // listingHost is the sold-prices service's scheme and host, e.g. "http://127.0.0.1:8631".
  ValuationRun(RunPorts ports, std::string listingHost);
  ValuationRun(const ValuationRun&) = delete;
  ValuationRun& operator=(const ValuationRun&) = delete;

  // Runs the whole valuation: status lines, download, work files, extraction, figures, report.
  // A failing step is skipped without a message and the run always ends with the report shown.
  // Does nothing while a run is already in progress (a click during a pause). ProgramEnding from
  // a wait passes through and ends the run at once.
  void DoProc();

  // True from the start of DoProc until it returns or unwinds.
  bool running() const { return m_running; }

 private:
  RunPorts m_ports;
  std::string m_listingHost;
  bool m_running = false;
};

}  // namespace korvane
