#include "chart.h"

#include "chart/chart_host.h"
#include "chart/property_bag.h"
#include "util/basic.h"

namespace korvane {

struct Chart::Setting {
  const char* name;
  std::int16_t Chart::*field;
  std::int16_t defaultValue;
};

const Chart::Setting Chart::kSettings[4] = {{"Rows", &Chart::m_Rows, 0},
                                            {"Cols", &Chart::m_Cols, 0},
                                            {"MinValue", &Chart::m_MinValue, 0},
                                            {"MaxValue", &Chart::m_MaxValue, 5}};

Chart::Chart() {
  // A new control placed on a host: the settings it starts with.
  m_MinValue = 0;
  m_MaxValue = 5;
  m_Rows = 0;
  m_Cols = 0;
}

void Chart::setRows(std::int16_t value) {
  m_Rows = value;
  changed("Rows");
}

void Chart::setCols(std::int16_t value) {
  m_Cols = value;
  changed("Cols");
}

void Chart::setMinValue(std::int16_t value) {
  m_MinValue = value;
  changed("MinValue");
}

void Chart::setMaxValue(std::int16_t value) {
  m_MaxValue = value;
  changed("MaxValue");
}

void Chart::restore(const PropertyBag& bag) {
  for (const Setting& s : kSettings) {
    std::optional<std::string> stored = bag.read(s.name);
    this->*s.field = stored ? textToInt16(*stored) : s.defaultValue;
  }
}

void Chart::save(PropertyBag& bag) const {
  for (const Setting& s : kSettings) {
    std::int16_t value = this->*s.field;
    if (value != s.defaultValue) bag.write(s.name, std::to_string(value));
  }
}

void Chart::changed(const char* name) {
  if (m_host) m_host->propertyChanged(name);
}

void Chart::hideOutline() {
  m_Shape1.visible = false;
  if (m_host) m_host->hideOutline();
}

void Chart::requestRedraw() {
  if (m_host) m_host->requestRedraw();
}

}  // namespace korvane
