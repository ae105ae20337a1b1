#include "registry.h"

namespace korvane::component {
namespace {

constexpr std::string_view kHeader = "KORVANE COMPONENT REGISTRY 1";

bool isValidKey(std::string_view key) {
  return !key.empty() && key.find_first_of("\r\n") == std::string_view::npos;
}

// Names and values are quoted, with \\, \", \n and \r escaped, so any text survives a round trip.
std::string quoted(std::string_view text) {
  std::string out = "\"";
  for (char c : text) {
    switch (c) {
      case '\\':
        out += "\\\\";
        break;
      case '"':
        out += "\\\"";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      default:
        out += c;
    }
  }
  return out + '"';
}

// Reads a quoted text at the start of `line`, advancing past it; nullopt if malformed.
std::optional<std::string> unquote(std::string_view& line) {
  if (line.empty() || line.front() != '"') return std::nullopt;
  std::string out;
  for (std::size_t i = 1; i < line.size(); ++i) {
    const char c = line[i];
    if (c == '"') {
      line.remove_prefix(i + 1);
      return out;
    }
    if (c != '\\') {
      out += c;
      continue;
    }
    if (++i == line.size()) return std::nullopt;
    switch (line[i]) {
      case '\\':
        out += '\\';
        break;
      case '"':
        out += '"';
        break;
      case 'n':
        out += '\n';
        break;
      case 'r':
        out += '\r';
        break;
      default:
        return std::nullopt;
    }
  }
  return std::nullopt;
}

}  // namespace

std::optional<std::string> Registry::value(std::string_view key, std::string_view name) const {
  const auto found = m_values.find({std::string(key), std::string(name)});
  if (found == m_values.end()) return std::nullopt;
  return found->second;
}

bool Registry::setValue(std::string key, std::string name, std::string value) {
  if (!isValidKey(key)) return false;
  m_values[{std::move(key), std::move(name)}] = std::move(value);
  return true;
}

bool Registry::removeValue(const std::string& key, const std::string& name) {
  return m_values.erase({key, name}) > 0;
}

std::string Registry::toText() const {
  std::string text(kHeader);
  text += '\n';
  const std::string* currentKey = nullptr;
  for (const auto& [place, value] : m_values) {
    const auto& [key, name] = place;
    if (currentKey == nullptr || *currentKey != key) {
      text += "\n[" + key + "]\n";
      currentKey = &key;
    }
    text += name.empty() ? std::string("@") : quoted(name);
    text += '=' + quoted(value) + '\n';
  }
  return text;
}

std::optional<Registry> Registry::fromText(std::string_view text) {
  Registry registry;
  if (text.empty()) return registry;
  bool headerSeen = false;
  std::optional<std::string> key;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (!headerSeen) {
      if (line != kHeader) return std::nullopt;
      headerSeen = true;
      continue;
    }
    if (line.empty()) continue;
    if (line.front() == '[') {
      if (line.back() != ']' || line.size() < 3) return std::nullopt;
      key = std::string(line.substr(1, line.size() - 2));
      continue;
    }
    if (!key) return std::nullopt;
    std::string name;
    if (line.front() == '@') {
      line.remove_prefix(1);
    } else {
      auto quotedName = unquote(line);
      if (!quotedName) return std::nullopt;
      name = std::move(*quotedName);
    }
    if (line.empty() || line.front() != '=') return std::nullopt;
    line.remove_prefix(1);
    auto value = unquote(line);
    if (!value || !line.empty()) return std::nullopt;
    registry.setValue(*key, std::move(name), std::move(*value));
  }
  return registry;
}

}  // namespace korvane::component
