#include "report/chart_description.h"

#include "front/money_text.h"

namespace korvane {
namespace {

std::string seriesInWords(const char* name, const std::vector<std::string>& years,
                          std::string_view values) {
  std::string words = std::string(name) + ":";
  if (values.empty()) return words + " no figures.";
  for (std::size_t n = 0; !values.empty(); ++n) {
    const std::size_t comma = values.find(',');
    words += n == 0 ? " " : ", ";
    if (n < years.size()) words += years[n] + " ";
    words += moneyText(values.substr(0, comma));
    values.remove_prefix(comma == std::string_view::npos ? values.size() : comma + 1);
  }
  return words + ".";
}

}  // namespace

std::string chartDescription(const std::vector<std::string>& years, std::string_view ownerSeries,
                             std::string_view marketSeries, std::optional<ChartBox> legend,
                             double width, double height) {
  std::string words = seriesInWords("Your property value", years, ownerSeries) + " " +
                      seriesInWords("Market Value", years, marketSeries) + " ";
  if (!legend) return words + "The legend is hidden.";
  const bool upper = legend->top + legend->bottom < height;
  const bool left = legend->left + legend->right < width;
  return words + "The legend is at the " + (upper ? "upper " : "lower ") +
         (left ? "left." : "right.");
}

}  // namespace korvane
