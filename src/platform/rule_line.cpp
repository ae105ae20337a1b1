#include "platform/rule_line.h"

#include "platform/twips.h"

#include <QPainter>
#include <QWidget>

namespace korvane {

namespace {

// Paints its line instead of filling its background: a control that fills its background is
// opaque to the window, which then cuts it out of the picture below into a region of many
// rectangles, and Qt draws an image into such a region on a thread pool it starts for that.
class RuleLine final : public QWidget {
 public:
  using QWidget::QWidget;

 protected:
  void paintEvent(QPaintEvent*) override { QPainter(this).fillRect(rect(), Qt::white); }
};

}  // namespace

void addWhiteRule(QWidget* parent, const char* name, int left, int right, int top) {
  auto* line = new RuleLine(parent);
  line->setObjectName(name);
  line->setGeometry(px(left), px(top), px(right) - px(left), 1);
}

}  // namespace korvane
