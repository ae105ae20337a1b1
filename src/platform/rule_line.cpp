#include "platform/rule_line.h"

#include "platform/twips.h"

#include <QFrame>
#include <QPalette>

namespace korvane {

void addWhiteRule(QWidget* parent, const char* name, int left, int right, int top) {
  auto* line = new QFrame(parent);
  line->setObjectName(name);
  line->setAutoFillBackground(true);
  QPalette palette = line->palette();
  palette.setColor(QPalette::Window, Qt::white);
  line->setPalette(palette);
  line->setGeometry(px(left), px(top), px(right) - px(left), 1);
}

}  // namespace korvane
