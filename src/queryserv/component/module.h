#pragma once

#include "type_description.h"
#include "unknown.h"

#include <atomic>
#include <span>

namespace korvane::component {

// Counts what keeps a component library loaded: live objects (class factories included, as a
// client may still call them) and LockServer holds. Thread-safe.
class ModuleState {
 public:
  void objectCreated() { m_objects.fetch_add(1, std::memory_order_relaxed); }
  void objectDestroyed() { m_objects.fetch_sub(1, std::memory_order_acq_rel); }
  void lock() { m_locks.fetch_add(1, std::memory_order_relaxed); }
  // A release without a matching lock is ignored rather than letting the library unload early.
  void unlock();
  // Returns true iff no object is alive and no lock is held.
  bool canUnload() const;

 private:
  std::atomic<long> m_objects{0};
  std::atomic<long> m_locks{0};
};

struct ClassDescription {
  const char* name;
  Guid clsid;
  const char* progId;
  const InterfaceDescription* defaultInterface;
  const char* threadingModel;  // as registered, e.g. "Apartment"
  // Returns a new object holding one reference for the caller, or null when out of memory.
  IUnknown* (*create)(ModuleState& module);
};

// Everything the runtime needs to know about one component library.
struct ModuleDescription {
  TypeLibraryDescription typeLibrary;
  std::span<const ClassDescription> classes;
  std::span<const InterfaceDescription* const> interfaces;
  ModuleState* state;
};

// The bodies of a library's four entry points.

// Writes the library's registration (type library, classes, programmatic identifiers, interfaces,
// this library as in-process server); REGDB_E_READREGDB / REGDB_E_WRITEREGDB if the registry
// cannot be read or replaced (it is then left as it was), E_FAIL if the library's path is unknown.
HRESULT registerServer(const ModuleDescription& module);
// Removes exactly the entries registerServer writes; same failures.
HRESULT unregisterServer(const ModuleDescription& module);
// Stores a class factory for `clsid` in *out; CLASS_E_CLASSNOTAVAILABLE for a class the library
// does not have, E_NOINTERFACE for an `iid` other than IUnknown/IClassFactory, E_POINTER if out
// is null.
HRESULT getClassObject(const ModuleDescription& module, const Guid& clsid, const Guid& iid,
                       void** out);
// Returns S_OK iff the library may be unloaded now, S_FALSE otherwise.
HRESULT canUnloadNow(const ModuleDescription& module);

}  // namespace korvane::component
