#pragma once

// Whether a window's captions show their whole text in the boxes they were given.

#include <QLabel>
#include <QWidget>

#include <string>
#include <vector>

namespace korvane::test {

// The object names of the labels of window whose text does not fit their box (too narrow for a
// single line, too low for the wrapped lines) or whose box reaches beyond the window's right or
// bottom edge. Empty when every caption shows whole.
inline std::vector<std::string> clippedCaptions(const QWidget& window) {
  std::vector<std::string> clipped;
  for (const QLabel* label : window.findChildren<QLabel*>()) {
    if (label->text().isEmpty()) continue;
    const QSize needed =
        label->wordWrap() ? QSize(0, label->heightForWidth(label->width())) : label->sizeHint();
    const QRect box = label->geometry();
    const bool inside = box.right() < window.width() && box.bottom() < window.height();
    if (needed.width() > box.width() || needed.height() > box.height() || !inside)
      clipped.push_back(label->objectName().toStdString());
  }
  return clipped;
}

}  // namespace korvane::test
