#pragma once

#include "guid.h"
#include "unknown.h"
#include "variant.h"

#include <cstdint>
#include <span>
#include <string_view>

namespace korvane::component {

// The static description of a component library, written once by the library. Name lookup,
// argument checks and registration are all derived from it.

struct ParamDescription {
  const char* name;
  VarType type;  // always passed by reference
};

struct FunctionDescription {
  const char* name;
  DispId id;
  std::span<const ParamDescription> params;
};

struct InterfaceDescription {
  const char* name;
  Guid iid;
  std::span<const FunctionDescription> functions;  // in interface (virtual table) order
};

struct TypeLibraryDescription {
  const char* name;
  Guid libid;
  std::uint16_t majorVersion;
  std::uint16_t minorVersion;
};

// Returns the member with this dispatch id, or null.
const FunctionDescription* findFunction(const InterfaceDescription& interface, DispId id);

// Returns the member with this name, ignoring ASCII case, or null.
const FunctionDescription* findFunction(const InterfaceDescription& interface,
                                        std::string_view name);

// Returns S_OK if `args` match the member's parameters in number and exact type (by-reference
// arguments are never converted); otherwise DISP_E_BADPARAMCOUNT, or DISP_E_TYPEMISMATCH with
// the position of the first mismatch in *argError when argError is given.
HRESULT checkArguments(const FunctionDescription& function, std::span<const Variant> args,
                       std::uint32_t* argError);

// GetIDsOfNames over a description: see IDispatch::GetIDsOfNames.
HRESULT idsOfNames(const InterfaceDescription& interface, std::span<const std::string> names,
                   std::span<DispId> ids);

}  // namespace korvane::component
