#pragma once

// The frame every page of the listing shares: head with style block, navigation, footer and
// script block.

#include <string>
#include <string_view>

namespace korvane::listing {

// A whole UTF-8 HTML document around `mainHtml`. `title` and `footer` are plain text and are
// escaped here; `mainHtml` is inserted as it stands.
std::string layoutPage(std::string_view title, std::string_view mainHtml, std::string_view footer);

}  // namespace korvane::listing
