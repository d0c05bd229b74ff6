// The class's registry entries and the type library's registration: what
// COM and a script engine need to create the component by its ProgID and
// call it through IDispatch.
#pragma once

#include <windows.h>

#include <string>

namespace qm {

inline constexpr wchar_t kProgId[] = L"VKR.AQuillmark";
inline constexpr wchar_t kVersionedProgId[] = L"VKR.AQuillmark.1";

// Writes the class's keys under `classes_root` (HKEY_CLASSES_ROOT, or a
// stand-in), naming `module_path` as its server. The class key is deleted
// with everything below it first, so nothing of an older registration
// remains. Stops at the first failing write and returns its status.
HRESULT RegisterComponent(HKEY classes_root, const std::wstring& module_path);

// Deletes the class key and both ProgID keys with everything below them;
// keys already gone count as deleted.
HRESULT UnregisterComponent(HKEY classes_root);

// Registers, or removes the registration of, the type library that the
// module at `module_path` carries.
HRESULT RegisterTypeLibrary(const std::wstring& module_path);
HRESULT UnregisterTypeLibrary(const std::wstring& module_path);

}  // namespace qm
