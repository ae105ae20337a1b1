#pragma once

#include "cn_dip_interface.h"

#include "queryserv/component/dispatch_object.h"
#include "queryserv/component/module.h"

namespace korvane::component {

// The type description of _cn_dip: members, dispatch ids, parameter names and types.
extern const InterfaceDescription cn_dipInterface;

// The Quorbel class. It keeps no state: every member answers with fixed message boxes titled
// "Quorbel" and an empty result.
class cn_dip final : public DispatchObject<_cn_dip> {
 public:
  explicit cn_dip(ModuleState& module);

  // Returns a new object with one reference for the caller; null when out of memory.
  static IUnknown* create(ModuleState& module);

  HRESULT QuerySERV(std::string* serverip, double* serverpush, std::int32_t* dataquery,
                    std::int16_t* receiveport, Variant* result) override;
  HRESULT Sendpostcode(std::int16_t* QueryservID, std::string* postcode, std::int16_t* ServPassword,
                       Variant* result) override;
  HRESULT PredictPropValue(std::int16_t* Marketvaluenow, std::int16_t* marketvaluethen,
                           std::int32_t* marketvaluetrend, std::int16_t* marketvalueout,
                           Variant* result) override;
  HRESULT ServerLeasing(VariantBool* Leaseserv, Variant* result) override;
  HRESULT Get_Postcode_Street(std::string* postcode, VariantBool* Sendpostcode,
                              std::int16_t* QueryservID, std::int32_t* AuthStreetMap,
                              Variant* result) override;

 protected:
  HRESULT invokeMember(DispId id, std::span<Variant> args, Variant* result) override;
};

}  // namespace korvane::component
