#include "report/chart_description.h"

#include "front/money_text.h"
#include "util/strings.h"

namespace korvane {
namespace {

std::string seriesInWords(const char* name, const std::vector<std::string>& years,
                          std::string_view series) {
  const std::vector<std::string_view> values = splitValues(series);
  if (values.empty()) return std::string(name) + ": no figures.";
  std::string words = std::string(name) + ":";
  for (std::size_t n = 0; n < values.size(); ++n) {
    words += n == 0 ? " " : ", ";
    if (n < years.size()) words += years[n] + " ";
    words += moneyText(values[n]);
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
