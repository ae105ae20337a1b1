#include "module.h"

#include "registration.h"
#include "registry_file.h"

#include <dlfcn.h>

#include <atomic>
#include <filesystem>
#include <new>

namespace korvane::component {
namespace {

class ClassFactory final : public IClassFactory {
 public:
  ClassFactory(const ClassDescription& type, ModuleState& module) : m_type(type), m_module(module) {
    m_module.objectCreated();
  }
  ~ClassFactory() { m_module.objectDestroyed(); }
  ClassFactory(const ClassFactory&) = delete;
  ClassFactory& operator=(const ClassFactory&) = delete;

  HRESULT QueryInterface(const Guid& iid, void** out) override {
    if (out == nullptr) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IClassFactory) {
      *out = static_cast<IClassFactory*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  std::uint32_t AddRef() override { return m_refs.fetch_add(1, std::memory_order_relaxed) + 1; }
  std::uint32_t Release() override {
    const std::uint32_t left = m_refs.fetch_sub(1, std::memory_order_acq_rel) - 1;
    if (left == 0) delete this;
    return left;
  }

  HRESULT CreateInstance(IUnknown* outer, const Guid& iid, void** out) override {
    if (out == nullptr) return E_POINTER;
    *out = nullptr;
    if (outer != nullptr) return CLASS_E_NOAGGREGATION;
    IUnknown* object = m_type.create(m_module);
    if (object == nullptr) return E_FAIL;
    // The object starts with one reference; QueryInterface adds the caller's, Release drops ours
    // and destroys the object if the interface was refused.
    const HRESULT result = object->QueryInterface(iid, out);
    object->Release();
    return result;
  }

  HRESULT LockServer(bool lock) override {
    lock ? m_module.lock() : m_module.unlock();
    return S_OK;
  }

 private:
  const ClassDescription& m_type;
  ModuleState& m_module;
  std::atomic<std::uint32_t> m_refs{1};
};

// Returns the absolute path of the shared library that holds the module's description, or "".
std::string serverPath(const ModuleDescription& module) {
  Dl_info info{};
  if (::dladdr(static_cast<const void*>(&module), &info) == 0 || info.dli_fname == nullptr) {
    return {};
  }
  std::error_code error;
  const std::filesystem::path path = std::filesystem::absolute(info.dli_fname, error);
  return error ? std::string() : path.lexically_normal().string();
}

}  // namespace

void ModuleState::unlock() {
  long locks = m_locks.load(std::memory_order_relaxed);
  while (locks > 0 && !m_locks.compare_exchange_weak(locks, locks - 1)) {
  }
}

bool ModuleState::canUnload() const {
  return m_objects.load(std::memory_order_acquire) == 0 &&
         m_locks.load(std::memory_order_acquire) == 0;
}

HRESULT registerServer(const ModuleDescription& module) {
  const std::string path = serverPath(module);
  if (path.empty()) return E_FAIL;
  return updateRegistry([&](Registry& registry) {
    for (RegistryEntry& entry : registrationEntries(module, path)) {
      registry.setValue(std::move(entry.key), std::move(entry.name), std::move(entry.value));
    }
  });
}

HRESULT unregisterServer(const ModuleDescription& module) {
  return updateRegistry([&](Registry& registry) {
    for (const RegistryEntry& entry : registrationEntries(module, std::string())) {
      registry.removeValue(entry.key, entry.name);
    }
  });
}

HRESULT getClassObject(const ModuleDescription& module, const Guid& clsid, const Guid& iid,
                       void** out) {
  if (out == nullptr) return E_POINTER;
  *out = nullptr;
  for (const ClassDescription& type : module.classes) {
    if (type.clsid != clsid) continue;
    ClassFactory* factory = new (std::nothrow) ClassFactory(type, *module.state);
    if (factory == nullptr) return E_FAIL;
    const HRESULT result = factory->QueryInterface(iid, out);
    factory->Release();
    return result;
  }
  return CLASS_E_CLASSNOTAVAILABLE;
}

HRESULT canUnloadNow(const ModuleDescription& module) {
  return module.state->canUnload() ? S_OK : S_FALSE;
}

}  // namespace korvane::component
