#include "registration.h"

namespace korvane::component {

std::vector<RegistryEntry> registrationEntries(const ModuleDescription& module,
                                               const std::string& serverPath) {
  const TypeLibraryDescription& library = module.typeLibrary;
  const std::string libid = guidText(library.libid);
  const std::string version =
      std::to_string(library.majorVersion) + '.' + std::to_string(library.minorVersion);
  const std::string libraryKey = "TypeLib\\" + libid + '\\' + version;

  std::vector<RegistryEntry> entries = {
      {libraryKey, "", library.name},
      {libraryKey + "\\0\\linux", "", serverPath},
      {libraryKey + "\\FLAGS", "", "0"},
  };
  for (const ClassDescription& type : module.classes) {
    const std::string clsid = guidText(type.clsid);
    const std::string classKey = "CLSID\\" + clsid;
    entries.push_back({classKey, "", type.progId});
    entries.push_back({classKey + "\\InprocServer32", "", serverPath});
    entries.push_back({classKey + "\\InprocServer32", "ThreadingModel", type.threadingModel});
    entries.push_back({classKey + "\\ProgID", "", type.progId});
    entries.push_back({classKey + "\\TypeLib", "", libid});
    entries.push_back({classKey + "\\VERSION", "", version});
    entries.push_back({type.progId, "", type.progId});
    entries.push_back({std::string(type.progId) + "\\CLSID", "", clsid});
  }
  for (const InterfaceDescription* interface : module.interfaces) {
    const std::string interfaceKey = "Interface\\" + guidText(interface->iid);
    entries.push_back({interfaceKey, "", interface->name});
    entries.push_back({interfaceKey + "\\TypeLib", "", libid});
    entries.push_back({interfaceKey + "\\TypeLib", "Version", version});
  }
  return entries;
}

}  // namespace korvane::component
