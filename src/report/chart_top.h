#pragma once

// The top of the report chart's value scale.

#include <cstdint>
#include <string_view>

namespace korvane {

// The average in thousands (txt_num, read by its leading number) plus 100, or, when a value of
// the owner's series or the market series (comma-separated numbers) lies above that, the highest
// such value plus a tenth of it rounded up, so the whole forecast stays on the chart. Limited to
// the 16-bit range and rounded to a whole number, an exact half to the even one. Never fails.
std::int16_t chartTop(std::string_view averageThousands, std::string_view ownerSeries,
                      std::string_view marketSeries);

}  // namespace korvane
