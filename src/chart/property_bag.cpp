#include "property_bag.h"

namespace korvane {

std::optional<std::string> MemoryPropertyBag::read(std::string_view name) const {
  auto it = m_values.find(name);
  if (it == m_values.end()) return std::nullopt;
  return it->second;
}

void MemoryPropertyBag::write(std::string_view name, std::string_view text) {
  auto [it, inserted] = m_values.insert_or_assign(std::string(name), std::string(text));
  if (inserted) m_order.push_back(it->first);
}

}  // namespace korvane
