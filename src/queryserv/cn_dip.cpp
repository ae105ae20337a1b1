#include "cn_dip.h"

#include "queryserv/quorbel_message_boxes.h"

#include <new>

namespace korvane::component {
namespace {

enum : DispId {
  DispQuerySERV = 0x60030000,
  DispSendpostcode = 0x60030001,
  DispPredictPropValue = 0x60030002,
  DispServerLeasing = 0x60030003,
  DispGet_Postcode_Street = 0x60030004,
};

constexpr ParamDescription querySERVParams[] = {
    {"serverip", VarType::Text},
    {"serverpush", VarType::R8},
    {"dataquery", VarType::I4},
    {"receiveport", VarType::I2},
};
constexpr ParamDescription sendpostcodeParams[] = {
    {"QueryservID", VarType::I2},
    {"postcode", VarType::Text},
    {"ServPassword", VarType::I2},
};
constexpr ParamDescription predictPropValueParams[] = {
    {"Marketvaluenow", VarType::I2},
    {"marketvaluethen", VarType::I2},
    {"marketvaluetrend", VarType::I4},
    {"marketvalueout", VarType::I2},
};
constexpr ParamDescription serverLeasingParams[] = {
    {"Leaseserv", VarType::Bool},
};
constexpr ParamDescription getPostcodeStreetParams[] = {
    {"postcode", VarType::Text},
    {"Sendpostcode", VarType::Bool},
    {"QueryservID", VarType::I2},
    {"AuthStreetMap", VarType::I4},
};

constexpr FunctionDescription functions[] = {
    {"QuerySERV", DispQuerySERV, querySERVParams},
    {"Sendpostcode", DispSendpostcode, sendpostcodeParams},
    {"PredictPropValue", DispPredictPropValue, predictPropValueParams},
    {"ServerLeasing", DispServerLeasing, serverLeasingParams},
    {"Get_Postcode_Street", DispGet_Postcode_Street, getPostcodeStreetParams},
};

constexpr char kTitle[] = "Quorbel";
constexpr char kServerNotFound[] = "Server could not be found";
constexpr char kNoAuthority[] = "You do not have the authority to use this dll";
constexpr char kWrongSyntax[] = "You have not used the correct syntax for this dll";

void show(const char* text, MessageIcon icon) { quorbelMessageBoxes().show(text, kTitle, icon); }

template <typename... Pointers>
bool allGiven(const Pointers*... pointers) {
  return ((pointers != nullptr) && ...);
}

}  // namespace

const InterfaceDescription cn_dipInterface{"_cn_dip", IID__cn_dip, functions};

cn_dip::cn_dip(ModuleState& module) : DispatchObject(cn_dipInterface, module) {}

IUnknown* cn_dip::create(ModuleState& module) { return new (std::nothrow) cn_dip(module); }

HRESULT cn_dip::QuerySERV(std::string* serverip, double* serverpush, std::int32_t* dataquery,
                          std::int16_t* receiveport, Variant* result) {
  if (!onOwnThread()) return RPC_E_WRONG_THREAD;
  if (!allGiven(serverip, serverpush, dataquery, receiveport, result)) return E_POINTER;
  show(kServerNotFound, MessageIcon::Critical);
  show(kNoAuthority, MessageIcon::None);
  *result = Variant();
  return S_OK;
}

HRESULT cn_dip::Sendpostcode(std::int16_t* QueryservID, std::string* postcode,
                             std::int16_t* ServPassword, Variant* result) {
  if (!onOwnThread()) return RPC_E_WRONG_THREAD;
  if (!allGiven(QueryservID, postcode, ServPassword, result)) return E_POINTER;
  show(kServerNotFound, MessageIcon::Critical);
  show(kNoAuthority, MessageIcon::None);
  *result = Variant();
  return S_OK;
}

HRESULT cn_dip::PredictPropValue(std::int16_t* Marketvaluenow, std::int16_t* marketvaluethen,
                                 std::int32_t* marketvaluetrend, std::int16_t* marketvalueout,
                                 Variant* result) {
  if (!onOwnThread()) return RPC_E_WRONG_THREAD;
  if (!allGiven(Marketvaluenow, marketvaluethen, marketvaluetrend, marketvalueout, result)) {
    return E_POINTER;
  }
  show(kWrongSyntax, MessageIcon::None);
  show(kNoAuthority, MessageIcon::None);
  *result = Variant();
  return S_OK;
}

HRESULT cn_dip::ServerLeasing(VariantBool* Leaseserv, Variant* result) {
  if (!onOwnThread()) return RPC_E_WRONG_THREAD;
  if (!allGiven(Leaseserv, result)) return E_POINTER;
  // Only the two exact patterns count; any other 16-bit value is neither true nor false.
  if (*Leaseserv == VARIANT_TRUE) {
    show("You do not have the authority to lease server", MessageIcon::Information);
  }
  if (*Leaseserv == VARIANT_FALSE) {
    show("The server QUERYSERV will not be used", MessageIcon::Information);
  }
  *result = Variant();
  return S_OK;
}

HRESULT cn_dip::Get_Postcode_Street(std::string* postcode, VariantBool* Sendpostcode,
                                    std::int16_t* QueryservID, std::int32_t* AuthStreetMap,
                                    Variant* result) {
  if (!onOwnThread()) return RPC_E_WRONG_THREAD;
  if (!allGiven(postcode, Sendpostcode, QueryservID, AuthStreetMap, result)) return E_POINTER;
  show(kWrongSyntax, MessageIcon::None);
  show(kNoAuthority, MessageIcon::None);
  *result = Variant();
  return S_OK;
}

HRESULT cn_dip::invokeMember(DispId id, std::span<Variant> args, Variant* result) {
  // The arguments' types were checked against cn_dipInterface before this runs.
  switch (id) {
    case DispQuerySERV:
      return QuerySERV(&args[0].text, &args[1].r8, &args[2].i4, &args[3].i2, result);
    case DispSendpostcode:
      return Sendpostcode(&args[0].i2, &args[1].text, &args[2].i2, result);
    case DispPredictPropValue:
      return PredictPropValue(&args[0].i2, &args[1].i2, &args[2].i4, &args[3].i2, result);
    case DispServerLeasing:
      return ServerLeasing(&args[0].i2, result);
    case DispGet_Postcode_Street:
      return Get_Postcode_Street(&args[0].text, &args[1].i2, &args[2].i2, &args[3].i4, result);
  }
  return DISP_E_MEMBERNOTFOUND;
}

}  // namespace korvane::component
