#pragma once

#include "queryserv/component/guid.h"
#include "queryserv/component/unknown.h"
#include "queryserv/component/variant.h"

#include <cstdint>
#include <string>

namespace korvane::component {

// Identities of the Quorbel library, what a client needs to create and call cn_dip.
inline constexpr Guid LIBID_Quorbel{
    0x6B5DDC2F, 0xA987, 0x4D6D, {0xB1, 0x25, 0x16, 0x81, 0x16, 0xC8, 0xD4, 0x1B}};
inline constexpr Guid CLSID_cn_dip{
    0xF5FFD06A, 0x4CCC, 0x4B4F, {0x94, 0x0C, 0x5F, 0xD7, 0x59, 0xD2, 0x59, 0x2E}};
inline constexpr Guid IID__cn_dip{
    0xB13D5371, 0x5BAF, 0x4D32, {0x9E, 0xBA, 0x76, 0x7B, 0xCB, 0xE9, 0x1C, 0xD7}};
inline constexpr char ProgID_cn_dip[] = "Quorbel.cn_dip";

// The default interface of cn_dip, dual: these members in this order, or Invoke by dispatch id.
// Every parameter is by reference; every member stores an empty variant in *result. A null
// pointer gives E_POINTER and nothing is shown; a call from a thread other than the object's
// gives RPC_E_WRONG_THREAD and nothing is shown.
class _cn_dip : public IDispatch {
 public:
  virtual HRESULT QuerySERV(std::string* serverip, double* serverpush, std::int32_t* dataquery,
                            std::int16_t* receiveport, Variant* result) = 0;
  virtual HRESULT Sendpostcode(std::int16_t* QueryservID, std::string* postcode,
                               std::int16_t* ServPassword, Variant* result) = 0;
  virtual HRESULT PredictPropValue(std::int16_t* Marketvaluenow, std::int16_t* marketvaluethen,
                                   std::int32_t* marketvaluetrend, std::int16_t* marketvalueout,
                                   Variant* result) = 0;
  virtual HRESULT ServerLeasing(VariantBool* Leaseserv, Variant* result) = 0;
  virtual HRESULT Get_Postcode_Street(std::string* postcode, VariantBool* Sendpostcode,
                                      std::int16_t* QueryservID, std::int32_t* AuthStreetMap,
                                      Variant* result) = 0;

 protected:
  ~_cn_dip() = default;
};

}  // namespace korvane::component
