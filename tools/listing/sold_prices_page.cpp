#include "sold_prices_page.h"

#include "page_text.h"
#include "site_layout.h"
#include "sold_prices.h"

namespace korvane::listing {
namespace {

std::string_view propertyTypeName(std::string_view code) {
  if (code == "D") return "Detached";
  if (code == "S") return "Semi-detached";
  if (code == "T") return "Terraced";
  if (code == "F") return "Flat or maisonette";
  if (code == "O") return "Other";
  return code;
}

std::string_view tenureName(std::string_view code) {
  if (code == "F") return "Freehold";
  if (code == "L") return "Leasehold";
  return code;
}

std::string_view newBuildName(std::string_view code) {
  if (code == "Y") return "Yes";
  if (code == "N") return "No";
  return code;
}

// "Flat 3, 155", "Rose Cottage", "12".
std::string house(const StreetSale& sale) {
  const std::string saon = displayName(sale.saon), paon = displayName(sale.paon);
  if (saon.empty() || paon.empty()) return saon + paon;
  return saon + ", " + paon;
}

}  // namespace

// The program that reads this page cuts values out of its text between fixed wordings, in page
// order: the heading, the filter, the first pound sign, the street followed by a comma, and the
// mortgage notice. Nothing in between may repeat those wordings, so the sales table writes the
// street without a comma after it and the text before the filter avoids "show" and "only".
std::string soldPricesPage(const StreetSales& street, std::string_view footer) {
  const std::string name = htmlEscape(displayName(street.street));
  const std::string postcode = htmlEscape(displayPostcode(street.postcode));
  const size_t count = street.sales.size();
  const std::string window = std::to_string(street.years) +
                             (street.years == 1 ? " year" : " years") + " to " +
                             formatSaleDate(street.newestSale);

  std::string main;
  main += "<h1>Sold house prices for post codes starting " + postcode + "</h1>\n";
  main += "<p class=\"intro\">Recorded sales in " + postcode + " in the " + window +
          ", newest first. Prices are the amounts paid at completion.</p>\n";
  main += "<form class=\"filter\" action=\"/index.php\" method=\"get\">\n";
  main += "<input type=\"hidden\" name=\"con\" value=\"sold_prices_street\">\n";
  main += "<input type=\"hidden\" name=\"cCode\" value=\"EW\">\n";
  main += "<input type=\"hidden\" name=\"postcode\" value=\"" + postcode + "\">\n";
  main += "<label><input type=\"checkbox\" name=\"street\" checked> Show <b>" + name +
          "</b> only</label>\n</form>\n";

  main +=
      "<table class=\"sales\">\n<thead><tr><th>Date sold</th><th>House</th><th>Type</th>"
      "<th>Tenure</th><th>New build</th><th>Price</th></tr></thead>\n<tbody>\n";
  for (const StreetSale& sale : street.sales) {
    main += "<tr><td>" + formatSaleDate(sale.date) + "</td><td>" + htmlEscape(house(sale)) + " " +
            name + "</td><td>" + htmlEscape(propertyTypeName(sale.propertyType)) + "</td><td>" +
            htmlEscape(tenureName(sale.tenure)) + "</td><td>" +
            htmlEscape(newBuildName(sale.newBuild)) + "</td><td class=\"price\">" +
            formatPounds(sale.price) + "</td></tr>\n";
  }
  main += "</tbody>\n</table>\n";

  main += "<p class=\"summary\"><strong>" + name + ", " + formatPounds(roundedAverage(street)) +
          " average</strong> from " + std::to_string(count) + (count == 1 ? " sale" : " sales") +
          " in the " + window + ".</p>\n";

  main +=
      "<aside class=\"mortgage\">\n<h2>Buying a home?</h2>\n"
      "<p>Compare mortgage deals &amp; work out your repayments with our "
      "<a href=\"/mortgage-tools.html\">mortgage tools</a>. Your home may be repossessed if "
      "you do not keep up repayments on your mortgage.</p>\n</aside>\n";

  return layoutPage("Sold prices in " + displayPostcode(street.postcode), main, footer);
}

std::string pageForPostcode(SoldPrices& prices, std::string_view postcode,
                            std::string_view footer) {
  const auto street = prices.find(postcode);
  return street ? soldPricesPage(*street, footer) : noSalesPage(postcode, footer);
}

std::string noSalesPage(std::string_view postcode, std::string_view footer) {
  std::string main;
  main += "<h1>No sales found</h1>\n";
  main += "<p>We have no recorded sales for the post code &ldquo;" + htmlEscape(postcode) +
          "&rdquo;. Check the post code and try again.</p>\n";
  return layoutPage("No sales found", main, footer);
}

}  // namespace korvane::listing
