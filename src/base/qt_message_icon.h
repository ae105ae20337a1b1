#pragma once

// The QMessageBox icon of a message box.

#include "base/message_boxes.h"

#include <QMessageBox>

namespace korvane {

QMessageBox::Icon qtMessageIcon(MessageIcon icon);

}  // namespace korvane
