#include "sold_prices_page.h"

#include "page_text.h"
#include "sales_data.h"
#include "site_layout.h"

#include <algorithm>
#include <vector>

namespace korvane::listing {

// The program that reads this page cuts values out of its text between fixed wordings, in page
// order: the heading, the filter, the first pound sign, the street followed by a comma, and the
// mortgage notice. Nothing in between may repeat those wordings, so the sales table writes the
// street without a comma after it and the text before the filter avoids "show" and "only".
std::string soldPricesPage(const Street& street) {
  const std::string name = htmlEscape(street.name);
  const std::string postcode = htmlEscape(street.postcode);
  const size_t count = street.sales.size();

  std::string main;
  main += "<h1>Sold house prices for post codes starting " + postcode + "</h1>\n";
  main += "<p class=\"intro\">Recorded sales in " + postcode + ", newest first. Prices are the " +
          "amounts paid at completion.</p>\n";
  main += "<form class=\"filter\" action=\"/index.php\" method=\"get\">\n";
  main += "<input type=\"hidden\" name=\"con\" value=\"sold_prices_street\">\n";
  main += "<input type=\"hidden\" name=\"cCode\" value=\"EW\">\n";
  main += "<input type=\"hidden\" name=\"postcode\" value=\"" + postcode + "\">\n";
  main += "<label><input type=\"checkbox\" name=\"street\" checked> Show <b>" + name +
          "</b> only</label>\n</form>\n";

  main +=
      "<table class=\"sales\">\n<thead><tr><th>House</th><th>Date sold</th><th>Price</th>"
      "</tr></thead>\n<tbody>\n";
  std::vector<Sale> sales = street.sales;
  std::stable_sort(sales.begin(), sales.end(),
                   [](const Sale& a, const Sale& b) { return a.date > b.date; });
  for (const Sale& sale : sales) {
    main += "<tr><td>" + htmlEscape(sale.house) + " " + name + "</td><td>" +
            formatSaleDate(sale.date) + "</td><td class=\"price\">" + formatPounds(sale.price) +
            "</td></tr>\n";
  }
  main += "</tbody>\n</table>\n";

  main += "<p class=\"summary\"><strong>" + name + ", " + formatPounds(roundedAverage(street)) +
          " average</strong> from " + std::to_string(count) + (count == 1 ? " sale" : " sales") +
          " on record.</p>\n";

  main +=
      "<aside class=\"mortgage\">\n<h2>Buying a home?</h2>\n"
      "<p>Compare mortgage deals &amp; work out your repayments with our "
      "<a href=\"/mortgage-tools.html\">mortgage tools</a>. Your home may be repossessed if "
      "you do not keep up repayments on your mortgage.</p>\n</aside>\n";

  return layoutPage("Sold prices in " + street.postcode, main);
}

std::string noSalesPage(std::string_view postcode) {
  std::string main;
  main += "<h1>No sales found</h1>\n";
  main += "<p>We have no recorded sales for the post code &ldquo;" + htmlEscape(postcode) +
          "&rdquo;. Check the post code and try again.</p>\n";
  return layoutPage("No sales found", main);
}

}  // namespace korvane::listing
