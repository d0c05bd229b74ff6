#include "component_registration.h"

#include <oleauto.h>

#include <cwchar>
#include <optional>
#include <vector>

#include "com_ptr.h"
#include "qmkit_h.h"
#include "registry_values.h"
#include "win32_handles.h"

namespace qm {
namespace {

constexpr wchar_t kClassName[] = L"AQuillmark Class";
// Component categories under which a browser creates and initialises the
// class from a page's script without asking the user.
constexpr wchar_t kSafeForScripting[] =
    L"{7DD95801-9882-11CF-9FA9-00AA006C42C4}";
constexpr wchar_t kSafeForInitialising[] =
    L"{7DD95802-9882-11CF-9FA9-00AA006C42C4}";

std::wstring ClassKey() { return L"CLSID\\" + GuidText(CLSID_AQuillmark); }

// One key to create; its value is set when there is one.
struct ClassEntry {
  std::wstring key;
  const wchar_t* value_name;  // null: the default value
  std::optional<std::wstring> value;
};

std::vector<ClassEntry> ClassEntries(const std::wstring& module_path) {
  const std::wstring class_id = GuidText(CLSID_AQuillmark);
  const std::wstring class_key = ClassKey();
  const std::wstring categories = class_key + L"\\Implemented Categories\\";
  return {
      {kVersionedProgId, nullptr, kClassName},
      {std::wstring(kVersionedProgId) + L"\\CLSID", nullptr, class_id},
      {kProgId, nullptr, kClassName},
      {std::wstring(kProgId) + L"\\CLSID", nullptr, class_id},
      {std::wstring(kProgId) + L"\\CurVer", nullptr, kVersionedProgId},
      {class_key, nullptr, kClassName},
      {class_key + L"\\ProgID", nullptr, kVersionedProgId},
      {class_key + L"\\VersionIndependentProgID", nullptr, kProgId},
      {class_key + L"\\Programmable", nullptr, std::nullopt},
      {class_key + L"\\InprocServer32", nullptr, module_path},
      {class_key + L"\\InprocServer32", L"ThreadingModel", L"Apartment"},
      {class_key + L"\\TypeLib", nullptr, GuidText(LIBID_QMKITLib)},
      {categories + kSafeForScripting, nullptr, std::nullopt},
      {categories + kSafeForInitialising, nullptr, std::nullopt},
  };
}

// Whether the classes root holds the version key of the library.
bool TypeLibraryRegistered(const TLIBATTR& attributes) {
  wchar_t version[16] = {};
  ::swprintf(version, 16, L"%x.%x", attributes.wMajorVerNum,
             attributes.wMinorVerNum);
  const std::wstring key =
      L"TypeLib\\" + GuidText(attributes.guid) + L"\\" + version;
  ScopedRegistryKey found;
  return ::RegOpenKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, KEY_READ,
                         found.receive()) == ERROR_SUCCESS;
}

}  // namespace

HRESULT RegisterComponent(HKEY classes_root, const std::wstring& module_path) {
  LONG status = DeleteKeyTree(classes_root, ClassKey());
  if (status != ERROR_SUCCESS) return HRESULT_FROM_WIN32(status);
  for (const ClassEntry& entry : ClassEntries(module_path)) {
    ScopedRegistryKey key;
    status = ::RegCreateKeyExW(classes_root, entry.key.c_str(), 0, nullptr,
                               REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, nullptr,
                               key.receive(), nullptr);
    if (status == ERROR_SUCCESS && entry.value) {
      status = SetStringValue(key.get(), entry.value_name, *entry.value);
    }
    if (status != ERROR_SUCCESS) return HRESULT_FROM_WIN32(status);
  }
  return S_OK;
}

HRESULT UnregisterComponent(HKEY classes_root) {
  LONG first_failure = ERROR_SUCCESS;
  for (const std::wstring& key :
       {ClassKey(), std::wstring(kProgId), std::wstring(kVersionedProgId)}) {
    const LONG status = DeleteKeyTree(classes_root, key);
    if (first_failure == ERROR_SUCCESS) first_failure = status;
  }
  return HRESULT_FROM_WIN32(first_failure);
}

HRESULT RegisterTypeLibrary(const std::wstring& module_path) {
  ComPtr<ITypeLib> library;
  return ::LoadTypeLibEx(module_path.c_str(), REGKIND_REGISTER, library.receive());
}

HRESULT UnregisterTypeLibrary(const std::wstring& module_path) {
  // The library's own attributes name what was registered, for whichever
  // platform the module was built.
  ComPtr<ITypeLib> library;
  HRESULT hr = ::LoadTypeLibEx(module_path.c_str(), REGKIND_NONE, library.receive());
  if (FAILED(hr)) return hr;
  TLIBATTR* attributes = nullptr;
  hr = library->GetLibAttr(&attributes);
  if (SUCCEEDED(hr)) {
    // A library that is not registered is removed already; the platform
    // would call that an error.
    if (TypeLibraryRegistered(*attributes)) {
      hr = ::UnRegisterTypeLib(attributes->guid, attributes->wMajorVerNum,
                               attributes->wMinorVerNum, attributes->lcid,
                               attributes->syskind);
    }
    library->ReleaseTLibAttr(attributes);
  }
  return hr;
}

}  // namespace qm
