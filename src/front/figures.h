#pragma once

// The five-year forecast derived from the street's average price in thousands (txt_num): a
// straight line of five per cent of today's average per year, the owner's and the market's series
// for the chart, and the report's money texts.

#include <array>
#include <string>

namespace korvane {

class RunBuffer;

// The three money texts of the report, and the yearly step shown while the run works.
struct ReportTexts {
  std::string average, inFiveYears, fiveYearsAgo, yearlyStep;
};

// The figure steps of one run, in the order the run calls them with its status lines and pauses in
// between. The local values (average A, one per cent P, step S, Y1..Y5, L) start empty and read as
// 0 while empty. A step that fails leaves what it would have written as it was.
class FigureSteps {
 public:
  explicit FigureSteps(RunBuffer& buffer);
  FigureSteps(const FigureSteps&) = delete;
  FigureSteps& operator=(const FigureSteps&) = delete;

  // A: the text of txt_num followed by "000". Never fails.
  void averageInPounds();
  // P, then S and Y1..Y5, then L. P is skipped when A does not fit a 32-bit whole number (S then
  // becomes 0 and every figure equals A); the others still run. Never fails.
  void yearlyFigures();
  // GPH_1year .. GPH_5year and txt_5years: Y1..Y5 and L in thousands (truncated).
  // Throws Failure(Overflow) only for a figure beyond the range of a double.
  void storeThousands();
  // gph_array: GPH_Houseprice and the five yearly thousands, joined by ",". Never fails.
  void buildOwnerSeries();
  // Reads the nine market values (the yearly thousands plus fixed offsets).
  // Throws Failure(Overflow) only for a figure beyond the range of a double.
  void readMarketSeries();
  // gph_marketarray: the values of the last readMarketSeries joined by ","; the run pauses between
  // the two halves. Never fails.
  void writeMarketSeries();
  // The report's texts: the caption of lbl_avghouseprice, GPH_5year and txt_5years as money texts,
  // and S. Never fails.
  ReportTexts reportTexts() const;

  // S as text: the yearly step in pounds (empty before yearlyFigures).
  const std::string& yearlyStep() const { return m_step; }
  // A as text.
  const std::string& average() const { return m_average; }
  // P as text (empty when it could not be computed).
  const std::string& onePercent() const { return m_onePercent; }
  // Y1..Y5 as text.
  const std::array<std::string, 5>& years() const { return m_years; }
  // L as text.
  const std::string& stepBelow() const { return m_below; }

 private:
  RunBuffer& m_buffer;
  std::string m_average;
  std::string m_onePercent;
  std::string m_step;
  std::array<std::string, 5> m_years;
  std::string m_below;
  std::array<std::string, 9> m_market;
};

// Runs every figure step in order without pauses and returns the report's texts.
ReportTexts computeFigures(RunBuffer& buffer);

}  // namespace korvane
