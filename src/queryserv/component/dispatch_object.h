#pragma once

#include "apartment.h"
#include "module.h"
#include "type_description.h"
#include "unknown.h"

#include <atomic>
#include <cstdint>
#include <span>

namespace korvane::component {

// The shared part of an object with one dual interface `Interface` (derived from IDispatch):
// reference counting, QueryInterface, name lookup and argument checks from the interface's
// description, and the apartment rule. The class supplies the members through invokeMember.
template <class Interface>
class DispatchObject : public Interface {
 public:
  DispatchObject(const InterfaceDescription& description, ModuleState& module)
      : m_description(description), m_module(module) {
    m_module.objectCreated();
  }
  virtual ~DispatchObject() { m_module.objectDestroyed(); }
  DispatchObject(const DispatchObject&) = delete;
  DispatchObject& operator=(const DispatchObject&) = delete;

  HRESULT QueryInterface(const Guid& iid, void** out) override {
    if (out == nullptr) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IDispatch || iid == m_description.iid) {
      *out = static_cast<Interface*>(this);
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

  HRESULT GetIDsOfNames(std::span<const std::string> names, std::span<DispId> ids) override {
    if (!onOwnThread()) return RPC_E_WRONG_THREAD;
    return idsOfNames(m_description, names, ids);
  }

  HRESULT Invoke(DispId id, std::span<Variant> args, Variant* result,
                 std::uint32_t* argError) override {
    if (!onOwnThread()) return RPC_E_WRONG_THREAD;
    const FunctionDescription* function = findFunction(m_description, id);
    if (function == nullptr) return DISP_E_MEMBERNOTFOUND;
    if (const HRESULT checked = checkArguments(*function, args, argError); failed(checked)) {
      return checked;
    }
    Variant ignored;
    return invokeMember(id, args, result != nullptr ? result : &ignored);
  }

 protected:
  // Runs member `id` with arguments already checked against its description.
  virtual HRESULT invokeMember(DispId id, std::span<Variant> args, Variant* result) = 0;

  // Returns true iff the caller is on the thread that created the object.
  bool onOwnThread() const { return m_apartment.isCurrent(); }

 private:
  const InterfaceDescription& m_description;
  ModuleState& m_module;
  Apartment m_apartment;
  std::atomic<std::uint32_t> m_refs{1};
};

}  // namespace korvane::component
