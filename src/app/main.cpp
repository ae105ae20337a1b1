// valdrin: the Korvane desktop program.

#include "app/run_valdrin.h"

#include <QApplication>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationVersion(KORVANE_VERSION);
  return korvane::runValdrin({KORVANE_LISTING_HOST, KORVANE_MAKER_SITE, KORVANE_ADVERT_EMAIL,
                              QApplication::applicationDirPath().toStdString()});
}
