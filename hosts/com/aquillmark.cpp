#include "aquillmark.h"

#include <atomic>
#include <optional>
#include <string>

#include "com_boundary.h"
#include "menu_command.h"
#include "module.h"

namespace qm {
namespace {

constexpr DWORD kSupportedSafetyOptions =
    INTERFACESAFE_FOR_UNTRUSTED_CALLER | INTERFACESAFE_FOR_UNTRUSTED_DATA;

std::atomic<MenuCommandHandler> g_menu_command_handler{&RunMenuCommand};

}  // namespace

MenuCommandHandler SetMenuCommandHandler(MenuCommandHandler handler) {
  return g_menu_command_handler.exchange(handler);
}

const CAQuillmark::InterfaceEntry CAQuillmark::kInterfaces[] = {
    {&IID_IUnknown, [](CAQuillmark& o) -> IUnknown* { return &o.inner_; }},
    {&IID_IAQuillmark,
     [](CAQuillmark& o) -> IUnknown* { return static_cast<IAQuillmark*>(&o); }},
    {&IID_IDispatch,
     [](CAQuillmark& o) -> IUnknown* { return static_cast<IAQuillmark*>(&o); }},
    {&IID_IObjectSafety,
     [](CAQuillmark& o) -> IUnknown* { return static_cast<IObjectSafety*>(&o); }},
};

HRESULT CAQuillmark::Create(IUnknown* outer, REFIID iid, void** out) {
  auto* object = new (std::nothrow) CAQuillmark(outer);
  if (object == nullptr) return E_OUTOFMEMORY;
  // The object's first reference is the one handed out; when no interface
  // matches, this counts it up and down again and the object is gone.
  object->inner_.AddRef();
  const HRESULT hr = object->inner_.QueryInterface(iid, out);
  object->inner_.Release();
  return hr;
}

CAQuillmark::CAQuillmark(IUnknown* outer)
    : inner_(this), controlling_(outer != nullptr ? outer : &inner_) {
  LockModule();
}

CAQuillmark::~CAQuillmark() {
  // Everything is let go before the lock: without it the module may be
  // unloaded.
  type_info_.Reset();
  UnlockModule();
}

IUnknown* CAQuillmark::FindInterface(REFIID iid) {
  for (const InterfaceEntry& entry : kInterfaces) {
    if (IsEqualIID(iid, *entry.iid)) return entry.get(*this);
  }
  return nullptr;
}

HRESULT CAQuillmark::InnerUnknown::QueryInterface(REFIID iid, void** out) {
  if (out == nullptr) return E_POINTER;
  *out = nullptr;
  IUnknown* found = object_->FindInterface(iid);
  if (found == nullptr) return E_NOINTERFACE;
  found->AddRef();
  *out = found;
  return S_OK;
}

ULONG CAQuillmark::InnerUnknown::AddRef() { return ++object_->references_; }

ULONG CAQuillmark::InnerUnknown::Release() {
  const ULONG left = --object_->references_;
  if (left == 0) delete object_;
  return left;
}

HRESULT CAQuillmark::QueryInterface(REFIID iid, void** out) {
  return controlling_->QueryInterface(iid, out);
}

ULONG CAQuillmark::AddRef() { return controlling_->AddRef(); }

ULONG CAQuillmark::Release() { return controlling_->Release(); }

HRESULT CAQuillmark::LoadTypeInfo() {
  if (type_info_) return S_OK;
  const std::wstring path = ThisModulePath();
  if (path.empty()) return LastErrorStatus();
  ComPtr<ITypeLib> library;
  const HRESULT hr = ::LoadTypeLibEx(path.c_str(), REGKIND_NONE, library.receive());
  if (FAILED(hr)) return hr;
  return library->GetTypeInfoOfGuid(IID_IAQuillmark, type_info_.receive());
}

HRESULT CAQuillmark::GetTypeInfoCount(UINT* count) {
  if (count == nullptr) return E_POINTER;
  *count = 1;
  return S_OK;
}

HRESULT CAQuillmark::GetTypeInfo(UINT index, LCID, ITypeInfo** info) {
  if (info == nullptr) return E_POINTER;
  *info = nullptr;
  if (index != 0) return DISP_E_BADINDEX;
  return CatchAtBoundary([&] {
    const HRESULT hr = LoadTypeInfo();
    if (FAILED(hr)) return hr;
    type_info_->AddRef();
    *info = type_info_.get();
    return S_OK;
  });
}

HRESULT CAQuillmark::GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count,
                                   LCID, DISPID* ids) {
  if (!IsEqualIID(iid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
  return CatchAtBoundary([&] {
    const HRESULT hr = LoadTypeInfo();
    if (FAILED(hr)) return hr;
    return ::DispGetIDsOfNames(type_info_.get(), names, count, ids);
  });
}

HRESULT CAQuillmark::Invoke(DISPID id, REFIID iid, LCID, WORD flags,
                            DISPPARAMS* params, VARIANT* result,
                            EXCEPINFO* exception, UINT* bad_argument) {
  if (!IsEqualIID(iid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
  return CatchAtBoundary([&] {
    const HRESULT hr = LoadTypeInfo();
    if (FAILED(hr)) return hr;
    return ::DispInvoke(static_cast<IAQuillmark*>(this), type_info_.get(), id, flags,
                        params, result, exception, bad_argument);
  });
}

HRESULT CAQuillmark::Click(IUnknown* window, BSTR s1, BSTR, BSTR) {
  try {
    // The handler gets a word of its own, whatever the caller does with s1.
    std::optional<std::wstring> word;
    if (s1 != nullptr) word.emplace(s1, ::SysStringLen(s1));
    g_menu_command_handler.load()(window, word ? word->c_str() : nullptr,
                                  word ? word->size() : 0);
  } catch (...) {
    // The script page has no use for an error; the user hears one.
    ::MessageBeep(MB_ICONHAND);
  }
  return S_OK;
}

HRESULT CAQuillmark::GetInterfaceSafetyOptions(REFIID iid, DWORD* supported,
                                               DWORD* enabled) {
  if (supported == nullptr || enabled == nullptr) return E_POINTER;
  if (FindInterface(iid) == nullptr) {
    *supported = 0;
    *enabled = 0;
    return E_NOINTERFACE;
  }
  *supported = kSupportedSafetyOptions;
  *enabled = safety_options_;
  return S_OK;
}

HRESULT CAQuillmark::SetInterfaceSafetyOptions(REFIID iid, DWORD mask,
                                               DWORD enabled) {
  if (FindInterface(iid) == nullptr) return E_NOINTERFACE;
  if ((mask & ~kSupportedSafetyOptions) != 0) return E_FAIL;
  safety_options_ = (safety_options_ & ~mask) | (enabled & mask);
  return S_OK;
}

}  // namespace qm
