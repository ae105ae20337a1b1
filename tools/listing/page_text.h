#pragma once

// How the listing writes values into its pages.

#include <cstdint>
#include <string>
#include <string_view>

namespace korvane::listing {

// The text with "&", "<", ">" and '"' written as character references, safe in text and in
// double-quoted attributes. Other bytes (UTF-8 included) pass unchanged.
std::string htmlEscape(std::string_view text);

// A whole number with thousands separators: 1234567 -> "1,234,567".
std::string groupThousands(std::uint64_t number);

// Whole pounds as a listing writes them: "£" (UTF-8) and thousands separators, "£1,875,000".
std::string formatPounds(std::int64_t pounds);

// A date YYYYMMDD as "18 Nov 2019".
std::string formatSaleDate(int date);

// A name as the page shows it. Names recorded in capitals, as HM Land Registry records them, are
// shown in title case ("ST. JOHN'S ROAD" -> "St. John's Road"); a name that has lower-case
// letters is shown as recorded.
std::string displayName(std::string_view name);

// A post code kept without blanks as it is written, with a blank before its last three
// characters: "CF103NQ" -> "CF10 3NQ". Shorter texts are returned unchanged.
std::string displayPostcode(std::string_view postcode);

}  // namespace korvane::listing
