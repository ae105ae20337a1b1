#pragma once

// The frame every page of the sample site shares: head with style block, navigation, footer and
// script block.

#include <string>
#include <string_view>

namespace korvane::listing {

// A whole UTF-8 HTML document around `mainHtml`. `title` is plain text and is escaped here;
// `mainHtml` is inserted as it stands.
std::string layoutPage(std::string_view title, std::string_view mainHtml);

}  // namespace korvane::listing
