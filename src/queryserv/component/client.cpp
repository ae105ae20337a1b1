#include "client.h"

#include "registry_file.h"

#include <dlfcn.h>

#include <map>
#include <mutex>

namespace korvane::component {
namespace {

using GetClassObjectEntry = HRESULT (*)(const Guid&, const Guid&, void**);
using CanUnloadNowEntry = HRESULT (*)();
using RegistrationEntry = HRESULT (*)();

// A component library may bring in libraries that cannot be unmapped cleanly (Qt among them: its
// global data would be lost while the process runs on), so releasing a library's handle leaves its
// code mapped.
constexpr int kOpenFlags = RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE;

// Libraries stay loaded while objects from them may be alive; freeUnusedLibraries asks them.
class LoadedLibraries {
 public:
  // Returns the library's handle, loading it on first use; null if it will not load.
  void* load(const std::string& path) {
    const std::lock_guard guard(m_mutex);
    if (const auto found = m_handles.find(path); found != m_handles.end()) return found->second;
    void* handle = ::dlopen(path.c_str(), kOpenFlags);
    if (handle != nullptr) m_handles.emplace(path, handle);
    return handle;
  }

  int unloadUnused() {
    const std::lock_guard guard(m_mutex);
    int unloaded = 0;
    for (auto it = m_handles.begin(); it != m_handles.end();) {
      auto canUnload = reinterpret_cast<CanUnloadNowEntry>(::dlsym(it->second, "DllCanUnloadNow"));
      if (canUnload != nullptr && canUnload() == S_OK) {
        ::dlclose(it->second);
        it = m_handles.erase(it);
        ++unloaded;
      } else {
        ++it;
      }
    }
    return unloaded;
  }

 private:
  std::mutex m_mutex;
  std::map<std::string, void*> m_handles;
};

LoadedLibraries& loadedLibraries() {
  static LoadedLibraries libraries;
  return libraries;
}

HRESULT callRegistration(const std::string& path, const char* entryName) {
  void* handle = ::dlopen(path.c_str(), kOpenFlags);
  if (handle == nullptr) return CO_E_DLLNOTFOUND;
  auto entry = reinterpret_cast<RegistrationEntry>(::dlsym(handle, entryName));
  const HRESULT result = entry != nullptr ? entry() : CO_E_ERRORINDLL;
  ::dlclose(handle);
  return result;
}

}  // namespace

HRESULT clsidFromProgId(std::string_view progId, Guid* clsid) {
  if (clsid == nullptr) return E_POINTER;
  Registry registry;
  if (const HRESULT read = readRegistry(&registry); failed(read)) return read;
  const auto text = registry.value(std::string(progId) + "\\CLSID");
  if (!text) return CO_E_CLASSSTRING;
  const auto parsed = parseGuid(*text);
  if (!parsed) return CO_E_CLASSSTRING;
  *clsid = *parsed;
  return S_OK;
}

HRESULT createInstance(const Guid& clsid, const Guid& iid, void** out) {
  if (out == nullptr) return E_POINTER;
  *out = nullptr;
  Registry registry;
  if (const HRESULT read = readRegistry(&registry); failed(read)) return read;
  const auto path = registry.value("CLSID\\" + guidText(clsid) + "\\InprocServer32");
  if (!path || path->empty()) return REGDB_E_CLASSNOTREG;

  void* handle = loadedLibraries().load(*path);
  if (handle == nullptr) return CO_E_DLLNOTFOUND;
  auto getClassObject = reinterpret_cast<GetClassObjectEntry>(::dlsym(handle, "DllGetClassObject"));
  if (getClassObject == nullptr) return CO_E_ERRORINDLL;

  void* factoryPointer = nullptr;
  const HRESULT got = getClassObject(clsid, IID_IClassFactory, &factoryPointer);
  if (failed(got)) return got;
  auto* factory = static_cast<IClassFactory*>(factoryPointer);
  const HRESULT created = factory->CreateInstance(nullptr, iid, out);
  factory->Release();
  return created;
}

HRESULT createInstance(std::string_view classText, const Guid& iid, void** out) {
  if (out == nullptr) return E_POINTER;
  *out = nullptr;
  Guid clsid;
  if (const auto parsed = parseGuid(classText)) {
    clsid = *parsed;
  } else if (const HRESULT found = clsidFromProgId(classText, &clsid); failed(found)) {
    return found;
  }
  return createInstance(clsid, iid, out);
}

HRESULT invokeByName(IDispatch* object, const std::string& name, std::span<Variant> args,
                     Variant* result, std::uint32_t* argError) {
  if (object == nullptr) return E_POINTER;
  DispId id = DISPID_UNKNOWN;
  const HRESULT found = object->GetIDsOfNames(std::span(&name, 1), std::span(&id, 1));
  if (failed(found)) return found;
  return object->Invoke(id, args, result, argError);
}

int freeUnusedLibraries() { return loadedLibraries().unloadUnused(); }

HRESULT registerLibrary(const std::string& path) {
  return callRegistration(path, "DllRegisterServer");
}

HRESULT unregisterLibrary(const std::string& path) {
  return callRegistration(path, "DllUnregisterServer");
}

}  // namespace korvane::component
