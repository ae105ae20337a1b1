#pragma once

// The maker's own small pages, which the program's links open.

#include <string>

namespace korvane::listing {

// "/": what Korvane and this site are.
std::string homePage();
// "/links.html": where to read more about house prices.
std::string linksPage();
// "/mortgage-tools.html": a plain repayment table.
std::string mortgageToolsPage();
// Any other path.
std::string notFoundPage();

}  // namespace korvane::listing
