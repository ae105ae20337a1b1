#pragma once

// The listing's sold-prices page for one post code.

#include <string>
#include <string_view>

namespace korvane::listing {

class SoldPrices;
struct StreetSales;

// The page for a post code as it was asked for: its street's page, else the no-sales page.
// Throws SqliteError when the listing cannot be read.
std::string pageForPostcode(SoldPrices& prices, std::string_view postcode, std::string_view footer);

// The page for a post code that leads to `street`: heading "Sold house prices for post codes
// starting <post code>", the filter "Show <street> only", a table of the street's sales newest
// first, the summary "<street>, £<average> average" (mean rounded to the nearest thousand),
// then a "Buying a home?" mortgage notice. `footer` is plain text for the foot of the page.
std::string soldPricesPage(const StreetSales& street, std::string_view footer);

// The page for a post code without sales. It names the post code asked for (escaped) and holds
// none of the sold-prices page's wording.
std::string noSalesPage(std::string_view postcode, std::string_view footer);

}  // namespace korvane::listing
