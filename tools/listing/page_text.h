#pragma once

// How the sample listing writes values into its HTML pages.

#include <string>
#include <string_view>

namespace korvane::listing {

// The text with "&", "<", ">" and '"' written as character references, safe in text and in
// double-quoted attributes. Other bytes (UTF-8 included) pass unchanged.
std::string htmlEscape(std::string_view text);

// Whole pounds as a listing writes them: "£" (UTF-8) and thousands separators, "£1,875,000".
// Negative amounts get a leading "-".
std::string formatPounds(long pounds);

// A "YYYY-MM-DD" date as "18 Nov 2019"; any other text is returned unchanged.
std::string formatSaleDate(std::string_view isoDate);

}  // namespace korvane::listing
