#include "system_colors.h"

namespace korvane {

Color resolveColor(Color color) {
  if ((color & 0x80000000u) == 0) return color & 0x00FFFFFFu;
  switch (color & 0xFFu) {
    case 5:
      return 0xFFFFFF;
    case 8:
    case 18:
      return 0x000000;
    case 15:
      return 0xF0F0F0;
    case 16:
      return 0xA0A0A0;
    default:
      return 0x808080;
  }
}

}  // namespace korvane
