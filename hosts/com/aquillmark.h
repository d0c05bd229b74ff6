// CAQuillmark, the one creatable class of the module: the browser's menu
// page creates it by its ProgID and calls Click through IDispatch.
#pragma once

#include <windows.h>
#include <objsafe.h>

#include <cstddef>

#include "com_ptr.h"
#include "qmkit_h.h"

namespace qm {

// What Click hands the window object and the command word to: the word's
// `length` characters at `word`, which may hold a NUL (a BSTR can), so the
// handler must not read the word up to one. `word` is null when the caller
// passed no string.
using MenuCommandHandler = void (*)(IUnknown* menu_arguments,
                                    const wchar_t* word, std::size_t length);

// Replaces the handler of every object's Click (RunMenuCommand at first)
// and returns the one it replaced. Lets a test see what Click delivers.
MenuCommandHandler SetMenuCommandHandler(MenuCommandHandler handler);

// Objects are apartment-bound, so their own reference count is a plain one;
// only the module lock they hold while alive is interlocked. An outer object
// may aggregate one: the object then forwards its IUnknown methods to the
// outer object and hands the outer object its inner, non-delegating
// IUnknown.
class CAQuillmark final : public IAQuillmark, public IObjectSafety {
 public:
  // Makes an object and returns its `iid` interface in `*out`. The class
  // factory has checked the arguments: `out` is there, and with an `outer`
  // object `iid` is IUnknown (the inner one).
  static HRESULT Create(IUnknown* outer, REFIID iid, void** out);

  CAQuillmark(const CAQuillmark&) = delete;
  CAQuillmark& operator=(const CAQuillmark&) = delete;

  // IUnknown, through the controlling object.
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;

  // IDispatch, from the module's embedded type library.
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale,
                                        ITypeInfo** info) override;
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names,
                                          UINT count, LCID locale,
                                          DISPID* ids) override;
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID locale,
                                   WORD flags, DISPPARAMS* params,
                                   VARIANT* result, EXCEPINFO* exception,
                                   UINT* bad_argument) override;

  // IAQuillmark. Always S_OK: the menu page's script never sees an error.
  HRESULT STDMETHODCALLTYPE Click(IUnknown* window, BSTR s1, BSTR s2,
                                  BSTR s3) override;

  // IObjectSafety: safe for untrusted callers and data, each option off
  // until the host turns it on.
  HRESULT STDMETHODCALLTYPE GetInterfaceSafetyOptions(
      REFIID iid, DWORD* supported, DWORD* enabled) override;
  HRESULT STDMETHODCALLTYPE SetInterfaceSafetyOptions(REFIID iid, DWORD mask,
                                                      DWORD enabled) override;

 private:
  // The identity an aggregating object holds: counts and answers for the
  // object itself, never forwarding.
  class InnerUnknown final : public IUnknown {
   public:
    explicit InnerUnknown(CAQuillmark* object) : object_(object) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

   private:
    CAQuillmark* object_;
  };

  struct InterfaceEntry {
    const IID* iid;
    IUnknown* (*get)(CAQuillmark& object);
  };
  static const InterfaceEntry kInterfaces[];

  explicit CAQuillmark(IUnknown* outer);
  ~CAQuillmark();

  // The object's own `iid` interface, not yet counted; null when it has none.
  IUnknown* FindInterface(REFIID iid);
  HRESULT LoadTypeInfo();

  InnerUnknown inner_;
  IUnknown* controlling_;  // the outer object, or inner_
  ULONG references_ = 0;
  DWORD safety_options_ = 0;
  ComPtr<ITypeInfo> type_info_;
};

}  // namespace qm
