#pragma once

#include "module.h"

#include <string>
#include <vector>

namespace korvane::component {

struct RegistryEntry {
  std::string key;
  std::string name;  // "" is the key's default value
  std::string value;
};

// Returns the registry entries of a library served from `serverPath`: its type library, each
// class with its programmatic identifier and in-process server (with threading model), and each
// interface. Registering writes exactly these; unregistering removes exactly these.
std::vector<RegistryEntry> registrationEntries(const ModuleDescription& module,
                                               const std::string& serverPath);

}  // namespace korvane::component
