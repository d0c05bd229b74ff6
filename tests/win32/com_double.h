// The IUnknown half of a test double: ComDouble<Stubs...> answers
// QueryInterface for each stub's interface and its bases, counts its
// references and deletes itself at the last Release. The stubs
// (browser_stubs.h) answer E_NOTIMPL for everything else, so a double
// overrides only what its test needs.
#pragma once

#include <windows.h>
#include <unknwn.h>

#include <utility>

#include "com_ptr.h"

namespace qm {

// Doubles now alive. A test that ends with more than it began with has
// found a reference that was never released.
inline int& LiveComDoubles() {
  static int live = 0;
  return live;
}

template <class First, class... Rest>
class ComDouble : public First, public Rest... {
 public:
  ComDouble() { ++LiveComDoubles(); }
  ComDouble(const ComDouble&) = delete;
  ComDouble& operator=(const ComDouble&) = delete;

  // The object's identity: the IUnknown of its first interface.
  IUnknown* Unknown() { return static_cast<typename First::Interface*>(this); }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (out == nullptr) return E_POINTER;
    *out = nullptr;
    if (iid == __uuidof(IUnknown)) {
      *out = Unknown();
    } else if (!(Answer<First>(iid, out) || ... || Answer<Rest>(iid, out))) {
      return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --references_;
    if (left == 0) delete this;
    return left;
  }

 protected:
  virtual ~ComDouble() { --LiveComDoubles(); }

 private:
  template <class Stub>
  bool Answer(REFIID iid, void** out) {
    if (!Stub::Implements(iid)) return false;
    *out = static_cast<typename Stub::Interface*>(this);
    return true;
  }

  ULONG references_ = 1;
};

// A new double, owned by the returned pointer.
template <class Double, class... Args>
ComPtr<Double> MakeDouble(Args&&... args) {
  return ComPtr<Double>::Adopt(new Double(std::forward<Args>(args)...));
}

}  // namespace qm
