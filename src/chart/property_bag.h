#pragma once

// A host's stored layout as seen by a control: names mapped to texts.

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace korvane {

class PropertyBag {
 public:
  virtual ~PropertyBag() = default;
  // The stored text of name, or nothing when the layout does not hold it.
  virtual std::optional<std::string> read(std::string_view name) const = 0;
  // Stores text under name, replacing an earlier value.
  virtual void write(std::string_view name, std::string_view text) = 0;
};

// A bag in memory that also remembers the order of writes, for hosts that keep layouts in a map.
class MemoryPropertyBag final : public PropertyBag {
 public:
  std::optional<std::string> read(std::string_view name) const override;
  void write(std::string_view name, std::string_view text) override;
  // The names written, in order of their first write.
  const std::vector<std::string>& writtenNames() const { return m_order; }
  bool empty() const { return m_values.empty(); }

 private:
  std::map<std::string, std::string, std::less<>> m_values;
  std::vector<std::string> m_order;
};

}  // namespace korvane
