// The class factory that COM asks for through DllGetClassObject.
#pragma once

#include <windows.h>
#include <unknwn.h>

namespace qm {

// Makes one object: `outer` is the aggregating object or null; the result
// is the object's `iid` interface in `*out`.
using CreateObjectFunction = HRESULT (*)(IUnknown* outer, REFIID iid,
                                         void** out);

// One factory serves every apartment of the process, so its reference count
// is interlocked. Like any object of the module it keeps the module loaded
// while it is held: each reference but the last counts in the module lock.
// The last is the one the module keeps in its cache of factories, which
// must not keep the module from unloading.
class CClassFactory final : public IClassFactory {
 public:
  // A new factory with one reference, which does not lock the module, or
  // null when memory is short.
  static CClassFactory* New(CreateObjectFunction create) noexcept;

  CClassFactory(const CClassFactory&) = delete;
  CClassFactory& operator=(const CClassFactory&) = delete;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;

  // E_POINTER without `out`; CLASS_E_NOAGGREGATION when an outer object
  // asks for anything but IUnknown, which is all an aggregator may hold.
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid,
                                           void** out) override;
  HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override;

 private:
  explicit CClassFactory(CreateObjectFunction create) : create_(create) {}
  ~CClassFactory() = default;

  CreateObjectFunction create_;
  LONG references_ = 1;
};

}  // namespace qm
