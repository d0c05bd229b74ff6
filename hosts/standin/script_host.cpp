#include "script_host.h"

#include <activscp.h>
#include <objsafe.h>
#include <servprov.h>
#include <urlmon.h>

#include <atomic>
#include <cstdio>

#include "com_ptr.h"

namespace qm::standin {
namespace {

// The system's JScript engine, and the custom policy by which the engine
// asks its host whether an object it is about to create may run. The
// import libraries carry neither.
constexpr CLSID kJScriptEngine = {
    0xf414c260, 0x6ac0, 0x11cf, {0xb6, 0xd1, 0x00, 0xaa, 0x00, 0xbb, 0xbb, 0x58}};
constexpr GUID kConfirmObjectSafety = {
    0x10200490, 0xfa38, 0x11d0, {0xac, 0x0e, 0x00, 0xa0, 0xc9, 0x0f, 0xff, 0xc0}};

// What a browser asks of a page's script engine: untrusted data, dispatch
// through IDispatchEx, objects vetted by the host's security manager.
constexpr DWORD kEngineSafety = INTERFACESAFE_FOR_UNTRUSTED_DATA | INTERFACE_USES_DISPEX |
                                INTERFACE_USES_SECURITY_MANAGER;
// What an object must accept before a page's script may use it.
constexpr DWORD kObjectSafety =
    INTERFACESAFE_FOR_UNTRUSTED_CALLER | INTERFACESAFE_FOR_UNTRUSTED_DATA;

constexpr wchar_t kExternal[] = L"external";
constexpr DISPID kMenuArgumentsId = 1;

std::wstring Hex(HRESULT value) {
  wchar_t text[16];
  std::swprintf(text, 16, L"%08lx", static_cast<unsigned long>(value));
  return text;
}

std::wstring GuidText(REFGUID guid) {
  wchar_t text[40] = {};
  ::StringFromGUID2(guid, text, 40);
  return text;
}

// Reference counting for the host's own objects, which live on the stack
// of one run or on the heap until their last Release.
template <class Self>
class Counted {
 public:
  ULONG AddRefImpl() { return ++references_; }
  ULONG ReleaseImpl() {
    const ULONG left = --references_;
    if (left == 0) delete static_cast<Self*>(this);
    return left;
  }

 protected:
  virtual ~Counted() = default;

 private:
  std::atomic<ULONG> references_{1};
};

// `external`: the browser's object for the page, of which the menu
// script reads only menuArguments.
class External final : public IDispatch, public Counted<External> {
 public:
  explicit External(IDispatch* menu_arguments)
      : menu_arguments_(ComPtr<IDispatch>::Share(menu_arguments)) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (out == nullptr) return E_POINTER;
    *out = nullptr;
    if (iid != __uuidof(IUnknown) && iid != __uuidof(IDispatch)) return E_NOINTERFACE;
    *out = static_cast<IDispatch*>(this);
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return AddRefImpl(); }
  ULONG STDMETHODCALLTYPE Release() override { return ReleaseImpl(); }
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID,
                                          DISPID* ids) override {
    HRESULT result = S_OK;
    for (UINT i = 0; i < count; ++i) {
      if (::lstrcmpiW(names[i], L"menuArguments") == 0 && i == 0) {
        ids[i] = kMenuArgumentsId;
      } else {
        ids[i] = DISPID_UNKNOWN;
        result = DISP_E_UNKNOWNNAME;
      }
    }
    return result;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS*,
                                   VARIANT* result, EXCEPINFO*, UINT*) override {
    if (id != kMenuArgumentsId) return DISP_E_MEMBERNOTFOUND;
    if ((flags & DISPATCH_PROPERTYGET) == 0) return DISP_E_MEMBERNOTFOUND;
    if (result == nullptr) return S_OK;
    ::VariantInit(result);
    result->vt = VT_DISPATCH;
    result->pdispVal = menu_arguments_.get();
    if (result->pdispVal != nullptr) result->pdispVal->AddRef();
    return S_OK;
  }

 private:
  ComPtr<IDispatch> menu_arguments_;
};

// The host's security manager, reached by the engine through the site's
// IServiceProvider. ActiveX objects may run; each one is then asked
// whether it is safe for a page's script, as a browser asks it.
class SecurityManager final : public IInternetHostSecurityManager,
                              public Counted<SecurityManager> {
 public:
  SecurityManager(bool refuse_objects, EventLog* log)
      : refuse_objects_(refuse_objects), log_(log) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (out == nullptr) return E_POINTER;
    *out = nullptr;
    if (iid != __uuidof(IUnknown) && iid != __uuidof(IInternetHostSecurityManager)) {
      return E_NOINTERFACE;
    }
    *out = static_cast<IInternetHostSecurityManager*>(this);
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return AddRefImpl(); }
  ULONG STDMETHODCALLTYPE Release() override { return ReleaseImpl(); }

  HRESULT STDMETHODCALLTYPE GetSecurityId(BYTE*, DWORD*, DWORD_PTR) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE ProcessUrlAction(DWORD action, BYTE* policy, DWORD size, BYTE*,
                                             DWORD, DWORD, DWORD) override {
    const DWORD answer = action == URLACTION_ACTIVEX_RUN ? URLPOLICY_ALLOW : URLPOLICY_DISALLOW;
    if (policy != nullptr && size >= sizeof(DWORD)) *reinterpret_cast<DWORD*>(policy) = answer;
    return answer == URLPOLICY_ALLOW ? S_OK : S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE QueryCustomPolicy(REFGUID key, BYTE** policy, DWORD* size,
                                              BYTE* context, DWORD context_size,
                                              DWORD) override {
    if (policy == nullptr || size == nullptr) return E_POINTER;
    *policy = nullptr;
    *size = 0;
    if (key != kConfirmObjectSafety) return INET_E_DEFAULT_ACTION;
    if (context == nullptr || context_size < sizeof(CONFIRMSAFETY)) return E_INVALIDARG;
    const CONFIRMSAFETY* confirm = reinterpret_cast<const CONFIRMSAFETY*>(context);
    const bool safe = !refuse_objects_ && DeclaresItselfSafe(confirm->pUnk);
    if (log_ != nullptr) {
      log_->Write("object-safety", GuidText(confirm->clsid) + (safe ? L" allow" : L" refuse"));
    }
    auto* answer = static_cast<DWORD*>(::CoTaskMemAlloc(sizeof(DWORD)));
    if (answer == nullptr) return E_OUTOFMEMORY;
    *answer = safe ? URLPOLICY_ALLOW : URLPOLICY_DISALLOW;
    *policy = reinterpret_cast<BYTE*>(answer);
    *size = sizeof(DWORD);
    return S_OK;
  }

 private:
  static bool DeclaresItselfSafe(IUnknown* object) {
    if (object == nullptr) return false;
    ComPtr<IObjectSafety> safety;
    if (FAILED(object->QueryInterface(IID_IObjectSafety, safety.receive_void()))) {
      return false;
    }
    return SUCCEEDED(
        safety->SetInterfaceSafetyOptions(__uuidof(IDispatch), kObjectSafety, kObjectSafety));
  }

  bool refuse_objects_;
  EventLog* log_;
};

class ScriptSite final : public IActiveScriptSite,
                         public IActiveScriptSiteWindow,
                         public IServiceProvider,
                         public Counted<ScriptSite> {
 public:
  explicit ScriptSite(const ScriptRun& run)
      : external_(ComPtr<External>::Adopt(new External(run.menu_arguments))),
        security_(ComPtr<SecurityManager>::Adopt(
            new SecurityManager(run.refuse_objects, run.log))),
        window_(run.window),
        log_(run.log) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (out == nullptr) return E_POINTER;
    *out = nullptr;
    if (iid == __uuidof(IUnknown) || iid == __uuidof(IActiveScriptSite)) {
      *out = static_cast<IActiveScriptSite*>(this);
    } else if (iid == __uuidof(IActiveScriptSiteWindow)) {
      *out = static_cast<IActiveScriptSiteWindow*>(this);
    } else if (iid == __uuidof(IServiceProvider)) {
      *out = static_cast<IServiceProvider*>(this);
    } else {
      return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return AddRefImpl(); }
  ULONG STDMETHODCALLTYPE Release() override { return ReleaseImpl(); }

  // IActiveScriptSite
  HRESULT STDMETHODCALLTYPE GetLCID(LCID*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetItemInfo(LPCOLESTR name, DWORD mask, IUnknown** item,
                                        ITypeInfo** type_info) override {
    if (item != nullptr) *item = nullptr;
    if (type_info != nullptr) *type_info = nullptr;
    if (::lstrcmpW(name, kExternal) != 0) return TYPE_E_ELEMENTNOTFOUND;
    if ((mask & SCRIPTINFO_IUNKNOWN) != 0 && item != nullptr) {
      *item = static_cast<IDispatch*>(external_.get());
      (*item)->AddRef();
    }
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetDocVersionString(BSTR*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE OnScriptTerminate(const VARIANT*, const EXCEPINFO*) override {
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE OnStateChange(SCRIPTSTATE) override { return S_OK; }
  // The browser would show the error on its status bar; here it is a line.
  HRESULT STDMETHODCALLTYPE OnScriptError(IActiveScriptError* error) override {
    EXCEPINFO info{};
    if (error != nullptr && SUCCEEDED(error->GetExceptionInfo(&info))) {
      if (info.pfnDeferredFillIn != nullptr) info.pfnDeferredFillIn(&info);
      const HRESULT code = info.scode != 0 ? info.scode : static_cast<HRESULT>(info.wCode);
      std::wstring detail = Hex(code);
      if (info.bstrDescription != nullptr) detail += L" " + std::wstring(info.bstrDescription);
      if (log_ != nullptr) log_->Write("script-error", detail);
      ::SysFreeString(info.bstrSource);
      ::SysFreeString(info.bstrDescription);
      ::SysFreeString(info.bstrHelpFile);
    } else if (log_ != nullptr) {
      log_->Write("script-error", L"unknown");
    }
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE OnEnterScript() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnLeaveScript() override { return S_OK; }

  // IActiveScriptSiteWindow
  HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override {
    *window = window_;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE EnableModeless(BOOL) override { return S_OK; }

  // IServiceProvider
  HRESULT STDMETHODCALLTYPE QueryService(REFGUID service, REFIID iid, void** out) override {
    if (out == nullptr) return E_POINTER;
    *out = nullptr;
    if (service != SID_SInternetHostSecurityManager) return E_NOINTERFACE;
    return security_->QueryInterface(iid, out);
  }

 private:
  ComPtr<External> external_;
  ComPtr<SecurityManager> security_;
  HWND window_;
  EventLog* log_;
};

}  // namespace

HRESULT RunPageScript(const ScriptRun& run) {
  ComPtr<IActiveScript> engine;
  HRESULT result = ::CoCreateInstance(kJScriptEngine, nullptr, CLSCTX_INPROC_SERVER,
                                      __uuidof(IActiveScript), engine.receive_void());
  if (FAILED(result)) return result;
  // Settings made after the site is set are not taken.
  ComPtr<IObjectSafety> safety;
  result = engine->QueryInterface(IID_IObjectSafety, safety.receive_void());
  if (FAILED(result)) return result;
  result = safety->SetInterfaceSafetyOptions(__uuidof(IActiveScriptParse), kEngineSafety,
                                             kEngineSafety);
  if (FAILED(result)) return result;

  ComPtr<ScriptSite> site = ComPtr<ScriptSite>::Adopt(new ScriptSite(run));
  result = engine->SetScriptSite(static_cast<IActiveScriptSite*>(site.get()));
  if (FAILED(result)) return result;
  // On Win64 the header's IID_IActiveScriptParse names the 64-bit IID,
  // which the import library lacks; the interface's own uuid is the same.
  ComPtr<IActiveScriptParse> parser = engine.As<IActiveScriptParse>();
  if (!parser) {
    engine->Close();
    return E_NOINTERFACE;
  }
  if (FAILED(result = parser->InitNew()) ||
      FAILED(result = engine->AddNamedItem(kExternal, SCRIPTITEM_ISVISIBLE))) {
    engine->Close();
    return result;
  }
  EXCEPINFO exception{};
  result = parser->ParseScriptText(run.script.c_str(), nullptr, nullptr, nullptr, 0, 0,
                                   SCRIPTTEXT_ISVISIBLE, nullptr, &exception);
  if (SUCCEEDED(result)) result = engine->SetScriptState(SCRIPTSTATE_CONNECTED);
  engine->Close();
  // A syntax error was reported to the site already.
  return result == static_cast<HRESULT>(SCRIPT_E_REPORTED) ? S_OK : result;
}

}  // namespace qm::standin
