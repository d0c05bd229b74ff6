#include "class_factory.h"

#include "com_boundary.h"
#include "module.h"

namespace qm {

CClassFactory* CClassFactory::New(CreateObjectFunction create) noexcept {
  return new (std::nothrow) CClassFactory(create);
}

HRESULT CClassFactory::QueryInterface(REFIID iid, void** out) {
  if (out == nullptr) return E_POINTER;
  if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IClassFactory)) {
    *out = static_cast<IClassFactory*>(this);
    AddRef();
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}

ULONG CClassFactory::AddRef() {
  LockModule();
  return static_cast<ULONG>(::InterlockedIncrement(&references_));
}

ULONG CClassFactory::Release() {
  const LONG left = ::InterlockedDecrement(&references_);
  if (left == 0) {
    delete this;
  } else {
    UnlockModule();
  }
  return static_cast<ULONG>(left);
}

HRESULT CClassFactory::CreateInstance(IUnknown* outer, REFIID iid,
                                      void** out) {
  if (out == nullptr) return E_POINTER;
  *out = nullptr;
  if (outer != nullptr && !IsEqualIID(iid, IID_IUnknown)) {
    return CLASS_E_NOAGGREGATION;
  }
  return CatchAtBoundary([&] { return create_(outer, iid, out); });
}

HRESULT CClassFactory::LockServer(BOOL lock) {
  if (lock) {
    LockModule();
  } else {
    UnlockModule();
  }
  return S_OK;
}

}  // namespace qm
