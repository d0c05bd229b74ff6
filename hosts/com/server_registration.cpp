#include "server_registration.h"

#include "com_boundary.h"
#include "component_registration.h"
#include "menu_registration.h"

namespace qm {
namespace {

void MenusSilently(bool install, const RegistrationRoots& roots,
                   const std::wstring& module_path,
                   const std::string& page_template) noexcept {
  try {
    RegisterMenuExtensions(install, roots.user, module_path, page_template);
  } catch (...) {
    // The menus' failures are never the installer's concern.
  }
}

}  // namespace

HRESULT RegisterServer(const RegistrationRoots& roots,
                       const std::wstring& module_path,
                       const std::string& page_template) noexcept {
  const HRESULT hr = CatchAtBoundary([&] {
    HRESULT status = RegisterComponent(roots.classes, module_path);
    if (SUCCEEDED(status)) status = RegisterTypeLibrary(module_path);
    return status;
  });
  if (FAILED(hr)) return hr;
  MenusSilently(true, roots, module_path, page_template);
  return hr;
}

HRESULT UnregisterServer(const RegistrationRoots& roots,
                         const std::wstring& module_path) noexcept {
  MenusSilently(false, roots, module_path, {});
  return CatchAtBoundary([&] {
    const HRESULT component = UnregisterComponent(roots.classes);
    const HRESULT library = UnregisterTypeLibrary(module_path);
    return FAILED(component) ? component : library;
  });
}

}  // namespace qm
