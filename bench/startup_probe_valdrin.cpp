// valdrin's start-up as main.cpp starts it, up to the first paint of the main window.

#include "startup_probe.h"

#include "app/run_valdrin.h"
#include "front/main_window.h"

#include <QApplication>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  return korvane::runValdrin({"http://127.0.0.1:9", "http://127.0.0.1:9", "ads@example.invalid",
                              QApplication::applicationDirPath().toStdString()},
                             [](korvane::Program& program) {
                               // Owned by the main window, its parent.
                               new korvane::bench::FirstPaintProbe(&program.front());
                             });
}
