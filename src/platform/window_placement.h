#pragma once

// Putting a window into or out of the always-on-top band.

class QWidget;

namespace korvane {

// Sets or clears the window's always-on-top flag without moving or resizing it; a shown window
// stays shown (and is raised when put on top), a hidden one stays hidden. A null window or a flag
// already as asked changes nothing.
void SetWindowOnTop(QWidget* window, bool on);

}  // namespace korvane
