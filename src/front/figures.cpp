#include "front/figures.h"

#include "front/money_text.h"
#include "util/basic.h"
#include "util/run_buffer.h"

#include <cmath>

namespace korvane {

namespace {

constexpr std::string_view kThousandsSuffix = "000";
constexpr std::string_view kDivisor = "100";
constexpr std::string_view kGrowthRate = "5";
constexpr std::string_view kMultipliers[] = {"1", "2", "3", "4"};

constexpr std::string_view kYearFields[] = {"GPH_1year", "gph_2year", "gph_3year", "Gph_4year",
                                            "GPH_5year"};

struct MarketPoint {
  std::string_view field;
  int offset;
};
constexpr MarketPoint kMarket[] = {{"GPH_1year", 2}, {"gph_2year", 6}, {"gph_3year", 3},
                                   {"Gph_4year", 1}, {"GPH_5year", 0}, {"GPH_5year", 0},
                                   {"GPH_5year", 3}, {"GPH_5year", 1}, {"GPH_5year", 2}};

double number(std::string_view text) { return leadingNumber(text); }

// A result beyond the range of a double is an overflow, as for any run arithmetic.
std::string resultText(double value) {
  if (!std::isfinite(value)) throw Failure(FailureKind::Overflow);
  return numberText(value);
}

// A figure in pounds as whole thousands, truncated: 287500 gives 287, 99750 gives 99.
std::string thousandsOf(std::string_view pounds) {
  return resultText(std::trunc(number(pounds) / 1000));
}

std::string joined(const std::string* values, std::size_t count) {
  std::string out;
  for (std::size_t i = 0; i < count; ++i) {
    if (i > 0) out += ',';
    out += values[i];
  }
  return out;
}

}  // namespace

FigureSteps::FigureSteps(RunBuffer& buffer) : m_buffer(buffer) {}

void FigureSteps::averageInPounds() {
  m_average = m_buffer.text("txt_num") + std::string(kThousandsSuffix);
}

void FigureSteps::yearlyFigures() {
  attempt([&] {
    // Whole-number division of two 32-bit values: an average beyond that range fails here.
    std::int32_t divided = toInt32(number(m_average)) / toInt32(number(kDivisor));
    m_onePercent = numberText(divided);
  });
  attempt([&] {
    m_step = resultText(number(kGrowthRate) * number(m_onePercent));
    m_years[4] = resultText(number(m_step) * number(kGrowthRate) + number(m_average));
    for (std::size_t k = 0; k < 4; ++k) {
      m_years[k] = resultText(number(m_step) * number(kMultipliers[k]) + number(m_average));
    }
  });
  attempt([&] { m_below = resultText(number(m_average) - number(m_step)); });
}

void FigureSteps::storeThousands() {
  for (std::size_t k = 0; k < 5; ++k) m_buffer.setText(kYearFields[k], thousandsOf(m_years[k]));
  m_buffer.setText("txt_5years", thousandsOf(m_below));
}

void FigureSteps::buildOwnerSeries() {
  std::string series[6] = {m_buffer.text("GPH_Houseprice")};
  for (std::size_t k = 0; k < 5; ++k) series[k + 1] = m_buffer.text(kYearFields[k]);
  m_buffer.setText("gph_array", joined(series, 6));
}

void FigureSteps::readMarketSeries() {
  for (std::size_t i = 0; i < m_market.size(); ++i) {
    m_market[i] = resultText(number(m_buffer.text(kMarket[i].field)) + kMarket[i].offset);
  }
}

void FigureSteps::writeMarketSeries() {
  m_buffer.setText("gph_marketarray", joined(m_market.data(), m_market.size()));
}

ReportTexts FigureSteps::reportTexts() const {
  return {m_buffer.text("lbl_avghouseprice"), moneyText(m_buffer.text("GPH_5year")),
          moneyText(m_buffer.text("txt_5years")), m_step};
}

ReportTexts computeFigures(RunBuffer& buffer) {
  FigureSteps steps(buffer);
  attempt([&] { steps.averageInPounds(); });
  attempt([&] { steps.yearlyFigures(); });
  attempt([&] { steps.storeThousands(); });
  attempt([&] { steps.buildOwnerSeries(); });
  attempt([&] { steps.readMarketSeries(); });
  attempt([&] { steps.writeMarketSeries(); });
  return steps.reportTexts();
}

}  // namespace korvane
