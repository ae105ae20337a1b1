#pragma once

// The program's windows are fixed-size windows laid out in twips.

class QWidget;

namespace korvane {

// Makes widget a top-level window whose client area is width × height twips and cannot be
// resized; minimisable adds a minimise button, there is never a maximise button.
void makeFixedWindow(QWidget* widget, int widthTwips, int heightTwips, bool minimisable);

// Moves the window so that it is centred on the screen it belongs to (the primary screen when it
// has none yet); nothing happens without a screen.
void centreOnScreen(QWidget* widget);

}  // namespace korvane
