// Self-registration as the module's entry points do it: the component, its
// type library, then the browser menus; removal in the reverse order.
#pragma once

#include <windows.h>

#include <string>

namespace qm {

// Where registration writes: HKEY_CLASSES_ROOT and HKEY_CURRENT_USER for
// the module itself, stand-ins elsewhere. The type library always goes to
// the process's classes root.
struct RegistrationRoots {
  HKEY classes;
  HKEY user;
};

// Registers the component and its type library, and on success the menus.
// Returns the component's status; the menus report nothing.
HRESULT RegisterServer(const RegistrationRoots& roots,
                       const std::wstring& module_path,
                       const std::string& page_template) noexcept;

// Removes the menus, then the component and its type library, and returns
// the status of the component's removal.
HRESULT UnregisterServer(const RegistrationRoots& roots,
                         const std::wstring& module_path) noexcept;

}  // namespace qm
