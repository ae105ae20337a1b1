#pragma once

#include "registry.h"
#include "result.h"

#include <filesystem>
#include <functional>

namespace korvane::component {

// Returns the per-user registry file: $XDG_DATA_HOME/korvane/components.reg, or
// ~/.local/share/korvane/components.reg when XDG_DATA_HOME is unset, empty or relative. Returns an
// empty path if neither that nor HOME gives an absolute folder.
std::filesystem::path registryPath();

// Reads the registry into *out. A missing file is an empty registry; REGDB_E_READREGDB if the
// file cannot be read, is damaged, or no registry path is known.
HRESULT readRegistry(Registry* out);

// Applies `change` to the registry and replaces the file in one step (a new file renamed over the
// old), holding an exclusive lock so that concurrent writers in any process take turns.
// REGDB_E_READREGDB if the current file cannot be read (it is then kept unchanged),
// REGDB_E_WRITEREGDB if the new file cannot be written. A registry left empty is removed.
HRESULT updateRegistry(const std::function<void(Registry&)>& change);

}  // namespace korvane::component
