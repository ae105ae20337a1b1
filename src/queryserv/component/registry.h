#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace korvane::component {

// The component registry's content: named text values under keys written like
// "CLSID\{...}\InprocServer32". The name "" is a key's default value. Keys and names are
// compared exactly.
class Registry {
 public:
  using Values = std::map<std::pair<std::string, std::string>, std::string>;

  // Returns the value, or nullopt if the key has no value of that name.
  std::optional<std::string> value(std::string_view key, std::string_view name = "") const;
  // Sets the value; returns false (and changes nothing) for an empty key or one with a line break.
  bool setValue(std::string key, std::string name, std::string value);
  // Removes the value; returns false if there was none.
  bool removeValue(const std::string& key, const std::string& name);

  const Values& values() const { return m_values; }

  // Returns the content as the registry file's text.
  std::string toText() const;
  // Returns the content of a registry file's text; nullopt if the text is damaged. An empty text
  // is an empty registry.
  static std::optional<Registry> fromText(std::string_view text);

 private:
  Values m_values;
};

}  // namespace korvane::component
