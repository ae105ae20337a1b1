#pragma once

#include "guid.h"
#include "unknown.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace korvane::component {

// Stores in *clsid the class registered under `progId`; CO_E_CLASSSTRING if no class is, or the
// registered text is no CLSID; REGDB_E_READREGDB if the registry cannot be read.
HRESULT clsidFromProgId(std::string_view progId, Guid* clsid);

// Creates an object of `clsid` from its registered in-process server (loaded once and kept) and
// stores its interface `iid` in *out. REGDB_E_CLASSNOTREG if the class has no server,
// CO_E_DLLNOTFOUND if the library does not load, CO_E_ERRORINDLL if it has no DllGetClassObject,
// otherwise the failure of the library's class factory.
HRESULT createInstance(const Guid& clsid, const Guid& iid, void** out);

// As above, with the class given as a programmatic identifier ("Quorbel.cn_dip") or as "{CLSID}".
HRESULT createInstance(std::string_view classText, const Guid& iid, void** out);

// Calls the member called `name` late-bound: its dispatch id from GetIDsOfNames, then Invoke.
// Returns the failure of either step.
HRESULT invokeByName(IDispatch* object, const std::string& name, std::span<Variant> args,
                     Variant* result, std::uint32_t* argError = nullptr);

// Unloads every library loaded by createInstance whose DllCanUnloadNow answers S_OK, and returns
// how many were unloaded.
int freeUnusedLibraries();

// Loads the library at `path` and calls its DllRegisterServer (or DllUnregisterServer);
// CO_E_DLLNOTFOUND / CO_E_ERRORINDLL if it cannot be loaded or lacks the entry point, otherwise
// the entry point's answer.
HRESULT registerLibrary(const std::string& path);
HRESULT unregisterLibrary(const std::string& path);

}  // namespace korvane::component
