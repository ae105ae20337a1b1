#pragma once

// Chart colours to plain RGB: system colours (0x80000000 + n) become fixed desktop colours.

#include "chart/surface.h"

namespace korvane {

// The colour as 0x00BBGGRR. System colour n maps to the classic desktop value: 5 window white,
// 8 window text and 18 button text black, 15 button face 0xF0F0F0, 16 button shadow 0xA0A0A0,
// 17 grey text 0x808080 (mid grey); any other system colour also gives mid grey.
Color resolveColor(Color color);

}  // namespace korvane
