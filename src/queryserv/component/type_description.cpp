#include "type_description.h"

#include <algorithm>
#include <cctype>

namespace korvane::component {
namespace {

bool sameNameIgnoringCase(std::string_view a, std::string_view b) {
  return std::ranges::equal(a, b, [](char x, char y) {
    return std::tolower(static_cast<unsigned char>(x)) ==
           std::tolower(static_cast<unsigned char>(y));
  });
}

}  // namespace

const FunctionDescription* findFunction(const InterfaceDescription& interface, DispId id) {
  for (const FunctionDescription& function : interface.functions) {
    if (function.id == id) return &function;
  }
  return nullptr;
}

const FunctionDescription* findFunction(const InterfaceDescription& interface,
                                        std::string_view name) {
  for (const FunctionDescription& function : interface.functions) {
    if (sameNameIgnoringCase(function.name, name)) return &function;
  }
  return nullptr;
}

HRESULT checkArguments(const FunctionDescription& function, std::span<const Variant> args,
                       std::uint32_t* argError) {
  if (args.size() != function.params.size()) return DISP_E_BADPARAMCOUNT;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i].type != function.params[i].type) {
      if (argError != nullptr) *argError = static_cast<std::uint32_t>(i);
      return DISP_E_TYPEMISMATCH;
    }
  }
  return S_OK;
}

HRESULT idsOfNames(const InterfaceDescription& interface, std::span<const std::string> names,
                   std::span<DispId> ids) {
  if (ids.size() != names.size() || names.empty()) return E_INVALIDARG;
  std::ranges::fill(ids, DISPID_UNKNOWN);
  const FunctionDescription* function = findFunction(interface, names[0]);
  if (function == nullptr) return DISP_E_UNKNOWNNAME;
  ids[0] = function->id;
  HRESULT result = S_OK;
  for (std::size_t i = 1; i < names.size(); ++i) {
    const auto& params = function->params;
    const auto found = std::ranges::find_if(params, [&](const ParamDescription& param) {
      return sameNameIgnoringCase(param.name, names[i]);
    });
    if (found == params.end()) {
      result = DISP_E_UNKNOWNNAME;
    } else {
      ids[i] = static_cast<DispId>(found - params.begin());
    }
  }
  return result;
}

}  // namespace korvane::component
