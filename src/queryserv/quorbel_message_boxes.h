#pragma once

// The boxes Quorbel's objects show.

#include "base/message_boxes.h"

namespace korvane::component {

// The host's sink when one is installed (component/message_box.h); otherwise a QMessageBox when a
// QApplication runs on the calling thread, and the box as text on standard error elsewhere.
MessageBoxes& quorbelMessageBoxes();

}  // namespace korvane::component
