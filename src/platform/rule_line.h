#pragma once

// The windows' thin white rules (the designer's horizontal line controls).

class QWidget;

namespace korvane {

// A one-pixel white line on parent from left to right (twips) at top (twips), named name.
void addWhiteRule(QWidget* parent, const char* name, int left, int right, int top);

}  // namespace korvane
