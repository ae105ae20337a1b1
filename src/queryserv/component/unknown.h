#pragma once

#include "guid.h"
#include "result.h"
#include "variant.h"

#include <cstdint>
#include <span>
#include <string>

namespace korvane::component {

using DispId = std::int32_t;
inline constexpr DispId DISPID_UNKNOWN = -1;

inline constexpr Guid IID_IUnknown{0x00000000, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
inline constexpr Guid IID_IDispatch{0x00020400, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
inline constexpr Guid IID_IClassFactory{0x00000001, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

// The root of every component interface. Objects are destroyed by their last Release, never by
// delete, hence the protected destructor.
class IUnknown {
 public:
  // Stores an added reference to the interface `iid` in *out; E_NOINTERFACE (and *out null) if the
  // object has no such interface, E_POINTER if out is null.
  virtual HRESULT QueryInterface(const Guid& iid, void** out) = 0;
  // Returns the new reference count; safe from any thread.
  virtual std::uint32_t AddRef() = 0;
  // Returns the new reference count and destroys the object at 0; safe from any thread.
  virtual std::uint32_t Release() = 0;

 protected:
  ~IUnknown() = default;
};

// Late-bound calls by name and dispatch id.
class IDispatch : public IUnknown {
 public:
  // Maps names[0] to its member's dispatch id and the further names to the positions of that
  // member's parameters, ignoring case; DISP_E_UNKNOWNNAME with DISPID_UNKNOWN in the place of
  // every unknown name. `ids` must be as long as `names` (E_INVALIDARG otherwise).
  virtual HRESULT GetIDsOfNames(std::span<const std::string> names, std::span<DispId> ids) = 0;
  // Calls member `id` with `args` in parameter order, every one by reference; `result` may be
  // null. DISP_E_MEMBERNOTFOUND, DISP_E_BADPARAMCOUNT, or DISP_E_TYPEMISMATCH with the position
  // of the first mismatching argument in *argError (when given); nothing runs on failure.
  virtual HRESULT Invoke(DispId id, std::span<Variant> args, Variant* result,
                         std::uint32_t* argError) = 0;

 protected:
  ~IDispatch() = default;
};

// Creates objects of one class.
class IClassFactory : public IUnknown {
 public:
  // Creates an object and stores its interface `iid` in *out; CLASS_E_NOAGGREGATION if outer is
  // given, E_NOINTERFACE if the class lacks `iid`, E_POINTER if out is null.
  virtual HRESULT CreateInstance(IUnknown* outer, const Guid& iid, void** out) = 0;
  // Keeps the library loaded (lock true) or releases one such hold (lock false).
  virtual HRESULT LockServer(bool lock) = 0;

 protected:
  ~IClassFactory() = default;
};

}  // namespace korvane::component
