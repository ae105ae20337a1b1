#pragma once

#include <cstdint>
#include <string>

namespace korvane::component {

// The outcome of every component call, numbered as on the desktop platform the clients know.
using HRESULT = std::int32_t;

constexpr HRESULT resultCode(std::uint32_t bits) { return static_cast<HRESULT>(bits); }

inline constexpr HRESULT S_OK = 0;
inline constexpr HRESULT S_FALSE = 1;
inline constexpr HRESULT E_NOINTERFACE = resultCode(0x80004002);
inline constexpr HRESULT E_POINTER = resultCode(0x80004003);
inline constexpr HRESULT E_FAIL = resultCode(0x80004005);
inline constexpr HRESULT E_INVALIDARG = resultCode(0x80070057);
inline constexpr HRESULT CLASS_E_NOAGGREGATION = resultCode(0x80040110);
inline constexpr HRESULT CLASS_E_CLASSNOTAVAILABLE = resultCode(0x80040111);
inline constexpr HRESULT REGDB_E_READREGDB = resultCode(0x80040150);
inline constexpr HRESULT REGDB_E_WRITEREGDB = resultCode(0x80040151);
inline constexpr HRESULT REGDB_E_CLASSNOTREG = resultCode(0x80040154);
inline constexpr HRESULT CO_E_CLASSSTRING = resultCode(0x800401F3);
inline constexpr HRESULT CO_E_DLLNOTFOUND = resultCode(0x800401F8);
inline constexpr HRESULT CO_E_ERRORINDLL = resultCode(0x800401F9);
inline constexpr HRESULT DISP_E_MEMBERNOTFOUND = resultCode(0x80020003);
inline constexpr HRESULT DISP_E_TYPEMISMATCH = resultCode(0x80020005);
inline constexpr HRESULT DISP_E_UNKNOWNNAME = resultCode(0x80020006);
inline constexpr HRESULT DISP_E_BADPARAMCOUNT = resultCode(0x8002000E);
inline constexpr HRESULT RPC_E_WRONG_THREAD = resultCode(0x8001010E);

constexpr bool succeeded(HRESULT result) { return result >= 0; }
constexpr bool failed(HRESULT result) { return result < 0; }

// Returns the code's name ("DISP_E_TYPEMISMATCH") or, for a code without one, "0x" and 8 hex
// digits.
std::string resultName(HRESULT result);

}  // namespace korvane::component
