#include "site_layout.h"

#include "page_text.h"

namespace korvane::listing {
namespace {

// The program reads these pages as text with the tags blanked out, so style and script contents
// reach it too: they hold no "<", ">", pound sign or wording the program looks for.
constexpr std::string_view kStyle = R"(
    body { font-family: "Liberation Sans", Arial, sans-serif; margin: 0; color: #1d2a33; }
    header, footer { background: #1f4e5f; color: #fff; padding: 0.6em 1.5em; }
    header a, footer a { color: #fff; margin-right: 1.2em; text-decoration: none; }
    header a.current { text-decoration: underline; }
    main { padding: 1em 1.5em; max-width: 52em; }
    table.sales { border-collapse: collapse; margin: 1em 0; }
    table.sales th, table.sales td { border-bottom: 1px solid #c8d3d9; padding: 0.3em 1em; }
    td.price { text-align: right; }
    .summary { font-size: 1.2em; }
    aside.mortgage { border: 1px solid #c8d3d9; background: #f3f7f9; padding: 0.5em 1em; }
)";

constexpr std::string_view kScript = R"(
    document.querySelectorAll("header a").forEach(function (link) {
      if (link.getAttribute("href") === window.location.pathname) link.className = "current";
    });
)";

}  // namespace

std::string layoutPage(std::string_view title, std::string_view mainHtml, std::string_view footer) {
  std::string page;
  page += "<!DOCTYPE html>\n<html lang=\"en-GB\">\n<head>\n<meta charset=\"utf-8\">\n";
  page += "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n";
  page += "<title>" + htmlEscape(title) + " &mdash; Korvane listing</title>\n";
  page += "<style>" + std::string(kStyle) + "</style>\n</head>\n<body>\n";
  page += "<header>\n<nav>\n<a href=\"/\">Home</a>\n";
  page +=
      "<a href=\"/index.php?con=sold_prices_street&amp;cCode=EW&amp;postcode=CF10%203NQ\">"
      "Sold prices</a>\n";
  page +=
      "<a href=\"/links.html\">Links</a>\n<a href=\"/mortgage-tools.html\">Mortgage tools</a>\n";
  page += "</nav>\n</header>\n<main>\n";
  page += mainHtml;
  page += "</main>\n<footer>\n<p>" + htmlEscape(footer) + "</p>\n</footer>\n";
  page += "<script>" + std::string(kScript) + "</script>\n</body>\n</html>\n";
  return page;
}

}  // namespace korvane::listing
