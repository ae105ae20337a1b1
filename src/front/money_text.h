#pragma once

// The money text of a figure in thousands of pounds, as the report shows it.

#include <string>
#include <string_view>

namespace korvane {

// "£", the thousands grouped in threes ("1,875"), then ",000": "£250,000", "£1,875,000", and
// "£,000" for empty thousands. Thousands that are not plain digits are put in unchanged. Never
// fails.
std::string moneyText(std::string_view thousands);

}  // namespace korvane
