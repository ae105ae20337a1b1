#pragma once

// The listing's sold-prices page for one post code.

#include <string>
#include <string_view>

namespace korvane::listing {

struct Street;

// The page for a post code that leads to `street`: heading "Sold house prices for post codes
// starting <post code>", the filter "Show <street> only", a table of the sales with their prices,
// the summary "<street>, £<average> average" (mean rounded to the nearest thousand), then a
// "Buying a home?" mortgage notice.
std::string soldPricesPage(const Street& street);

// The page for a post code without recorded sales. It names the post code asked for (escaped) and
// holds none of the sold-prices page's wording.
std::string noSalesPage(std::string_view postcode);

}  // namespace korvane::listing
