// The baseline: the smallest Qt Widgets program that shows one empty window.

#include "startup_probe.h"

#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QWidget window;
  window.resize(400, 505);
  korvane::bench::FirstPaintProbe probe(&window);
  window.show();
  return QApplication::exec();
}
