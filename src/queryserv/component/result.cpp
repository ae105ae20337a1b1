#include "result.h"

#include <cstdio>

namespace korvane::component {

std::string resultName(HRESULT result) {
  struct Named {
    HRESULT code;
    const char* name;
  };
  static constexpr Named names[] = {
      {S_OK, "S_OK"},
      {S_FALSE, "S_FALSE"},
      {E_NOINTERFACE, "E_NOINTERFACE"},
      {E_POINTER, "E_POINTER"},
      {E_FAIL, "E_FAIL"},
      {E_INVALIDARG, "E_INVALIDARG"},
      {CLASS_E_NOAGGREGATION, "CLASS_E_NOAGGREGATION"},
      {CLASS_E_CLASSNOTAVAILABLE, "CLASS_E_CLASSNOTAVAILABLE"},
      {REGDB_E_READREGDB, "REGDB_E_READREGDB"},
      {REGDB_E_WRITEREGDB, "REGDB_E_WRITEREGDB"},
      {REGDB_E_CLASSNOTREG, "REGDB_E_CLASSNOTREG"},
      {CO_E_CLASSSTRING, "CO_E_CLASSSTRING"},
      {CO_E_DLLNOTFOUND, "CO_E_DLLNOTFOUND"},
      {CO_E_ERRORINDLL, "CO_E_ERRORINDLL"},
      {DISP_E_MEMBERNOTFOUND, "DISP_E_MEMBERNOTFOUND"},
      {DISP_E_TYPEMISMATCH, "DISP_E_TYPEMISMATCH"},
      {DISP_E_UNKNOWNNAME, "DISP_E_UNKNOWNNAME"},
      {DISP_E_BADPARAMCOUNT, "DISP_E_BADPARAMCOUNT"},
      {RPC_E_WRONG_THREAD, "RPC_E_WRONG_THREAD"},
  };
  for (const Named& named : names) {
    if (named.code == result) return named.name;
  }
  char hex[16];
  std::snprintf(hex, sizeof hex, "0x%08X", static_cast<unsigned>(result));
  return hex;
}

}  // namespace korvane::component
