// The library's exported entry points: thin forwards to the component runtime with the library's
// description, and its version resource.

#include "cn_dip.h"
#include "quorbel_export.h"

#include "queryserv/component/module.h"
#include "queryserv/component/version_info.h"

namespace korvane::component {
namespace {

ModuleState moduleState;

const InterfaceDescription* const interfaces[] = {&cn_dipInterface};

const ClassDescription classes[] = {
    {"cn_dip", CLSID_cn_dip, ProgID_cn_dip, &cn_dipInterface, "Apartment", &cn_dip::create},
};

const ModuleDescription quorbel{
    {"Quorbel", LIBID_Quorbel, 1, 0},
    classes,
    interfaces,
    &moduleState,
};

}  // namespace
}  // namespace korvane::component

using korvane::component::Guid;
using korvane::component::HRESULT;

extern "C" {

// A const object inside extern "C" { } would otherwise have internal linkage.
QUORBEL_EXPORT extern const korvane::component::VersionInfo DllVersionInfo;
const korvane::component::VersionInfo DllVersionInfo{
    {QUORBEL_VERSION_MAJOR, QUORBEL_VERSION_MINOR, QUORBEL_VERSION_BUILD, QUORBEL_VERSION_REVISION},
    "Korvane",
    "Quorbel",
    "Korvane module, send and query server for data",
};

QUORBEL_EXPORT HRESULT DllRegisterServer() {
  return korvane::component::registerServer(korvane::component::quorbel);
}

QUORBEL_EXPORT HRESULT DllUnregisterServer() {
  return korvane::component::unregisterServer(korvane::component::quorbel);
}

QUORBEL_EXPORT HRESULT DllGetClassObject(const Guid& clsid, const Guid& iid, void** out) {
  return korvane::component::getClassObject(korvane::component::quorbel, clsid, iid, out);
}

QUORBEL_EXPORT HRESULT DllCanUnloadNow() {
  return korvane::component::canUnloadNow(korvane::component::quorbel);
}

}  // extern "C"
