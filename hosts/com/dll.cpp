// The module's entry points: what COM, regsvr32 and installers call.
#include <windows.h>
#include <objbase.h>

#include <string>

#include "aquillmark.h"
#include "class_factory.h"
#include "com_boundary.h"
#include "menu_registration.h"
#include "module.h"
#include "server_registration.h"

namespace {

// Every creatable class with its factory, made at the first request and
// kept until the module is unloaded. The reference kept here is the one
// that does not lock the module (see CClassFactory).
struct ClassObject {
  const CLSID* clsid;
  qm::CreateObjectFunction create;
  IClassFactory* factory;
};

ClassObject g_class_objects[] = {
    {&CLSID_AQuillmark, &qm::CAQuillmark::Create, nullptr},
};

// Browsers create objects from several threads: only one may make a factory.
SRWLOCK g_class_objects_lock = SRWLOCK_INIT;

qm::RegistrationRoots ProcessRoots() {
  return {HKEY_CLASSES_ROOT, HKEY_CURRENT_USER};
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason,
                               LPVOID reserved) {
  if (reason == DLL_PROCESS_ATTACH) {
    qm::SetThisModule(instance);
    ::DisableThreadLibraryCalls(instance);
  } else if (reason == DLL_PROCESS_DETACH && reserved == nullptr) {
    // Unloaded by FreeLibrary: the factories go with the module. At process
    // exit the process's memory goes anyway.
    for (ClassObject& entry : g_class_objects) {
      if (entry.factory != nullptr) entry.factory->Release();
      entry.factory = nullptr;
    }
  }
  return TRUE;
}

STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, void** out) {
  if (out == nullptr) return E_POINTER;
  *out = nullptr;
  for (ClassObject& entry : g_class_objects) {
    if (!IsEqualCLSID(clsid, *entry.clsid)) continue;
    ::AcquireSRWLockExclusive(&g_class_objects_lock);
    if (entry.factory == nullptr) {
      entry.factory = qm::CClassFactory::New(entry.create);
    }
    IClassFactory* factory = entry.factory;
    ::ReleaseSRWLockExclusive(&g_class_objects_lock);
    if (factory == nullptr) return E_OUTOFMEMORY;
    return factory->QueryInterface(iid, out);
  }
  return CLASS_E_CLASSNOTAVAILABLE;
}

STDAPI DllCanUnloadNow() {
  return qm::ModuleLockCount() == 0 ? S_OK : S_FALSE;
}

STDAPI DllRegisterServer() {
  return qm::CatchAtBoundary([] {
    const std::wstring path = qm::ThisModulePath();
    if (path.empty()) return qm::LastErrorStatus();
    return qm::RegisterServer(ProcessRoots(), path,
                              qm::LoadScriptPageTemplate(qm::ThisModule()));
  });
}

STDAPI DllUnregisterServer() {
  return qm::CatchAtBoundary([] {
    const std::wstring path = qm::ThisModulePath();
    if (path.empty()) return qm::LastErrorStatus();
    return qm::UnregisterServer(ProcessRoots(), path);
  });
}
