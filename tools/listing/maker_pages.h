#pragma once

// The maker's own small pages, which the program's links open. `footer` is plain text for the
// foot of each page.

#include <string>
#include <string_view>

namespace korvane::listing {

// "/": what Korvane and this site are.
std::string homePage(std::string_view footer);
// "/links.html": where to read more about house prices.
std::string linksPage(std::string_view footer);
// "/mortgage-tools.html": a plain repayment table.
std::string mortgageToolsPage(std::string_view footer);
// Any other path.
std::string notFoundPage(std::string_view footer);

}  // namespace korvane::listing
