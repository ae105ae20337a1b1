#include "maker_pages.h"

#include "site_layout.h"

#include <cmath>
#include <cstdio>

namespace korvane::listing {

std::string homePage(std::string_view footer) {
  return layoutPage("Korvane", R"(<h1>Korvane</h1>
<p>Korvane estimates what a house is worth today and over the next five years from the average
price recently paid in its street.</p>
<p>This site is the local listing service that comes with the program. It answers the program's
sold-prices requests from HM Land Registry Price Paid Data imported with
<code>korvane-listing import</code>, or, before any import, from a made-up sample of streets across
England &amp; Wales, so the program can be tried without a download.</p>
<p>Try the post code CF10 3NQ, LS6 3BR or SW3 5RQ of the sample in the program.</p>
)",
                    footer);
}

std::string linksPage(std::string_view footer) {
  return layoutPage("Links", R"(<h1>Links</h1>
<ul>
<li><a href="https://www.gov.uk/government/collections/price-paid-data">HM Land Registry price paid
data</a>: the public record of house sales in England &amp; Wales.</li>
<li><a href="https://www.ons.gov.uk/economy/inflationandpriceindices">Office for National
Statistics</a>: house price indices.</li>
<li><a href="/mortgage-tools.html">Mortgage tools</a> on this site.</li>
</ul>
<p>The figures Korvane shows are a straight-line estimate, not a valuation: ask a surveyor before
you buy or sell.</p>
)",
                    footer);
}

std::string mortgageToolsPage(std::string_view footer) {
  // Monthly repayment of a repayment mortgage: P r / (1 - (1 + r)^-n).
  std::string rows;
  for (int loan : {100000, 200000, 300000}) {
    rows += "<tr><td>" + std::to_string(loan / 1000) + " thousand</td>";
    for (double rate : {4.0, 5.0, 6.0}) {
      const double r = rate / 100 / 12;
      const double payment = loan * r / (1 - std::pow(1 + r, -25 * 12));
      char cell[32];
      std::snprintf(cell, sizeof cell, "%.0f", payment);
      rows += "<td>" + std::string(cell) + "</td>";
    }
    rows += "</tr>\n";
  }
  return layoutPage("Mortgage tools", R"(<h1>Mortgage tools</h1>
<p>Monthly repayments in pounds over 25 years, by amount borrowed and interest rate.</p>
<table class="sales">
<thead><tr><th>Borrowed</th><th>4%</th><th>5%</th><th>6%</th></tr></thead>
<tbody>
)" + rows + R"(</tbody>
</table>
<p>Your home may be repossessed if you do not keep up repayments on your mortgage.</p>
)",
                    footer);
}

std::string notFoundPage(std::string_view footer) {
  return layoutPage("Not found",
                    "<h1>Not found</h1>\n<p>There is no page at this address. "
                    "<a href=\"/\">Home</a></p>\n",
                    footer);
}

}  // namespace korvane::listing
