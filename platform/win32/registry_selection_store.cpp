#include "registry_selection_store.h"

#include "win32_handles.h"

namespace qm {
namespace {

bool IsStorableName(const std::string& name) {
  return name.find_first_of(std::string_view("\r\n\0", 3)) == std::string::npos;
}

}  // namespace

RegistrySelectionStore::RegistrySelectionStore()
    : RegistrySelectionStore(HKEY_CURRENT_USER, kDefaultSubKey) {}

RegistrySelectionStore::RegistrySelectionStore(HKEY root, std::string sub_key)
    : root_(root), sub_key_(std::move(sub_key)) {}

bool RegistrySelectionStore::Read(const std::string& name,
                                  std::uint32_t* value) const {
  if (!IsStorableName(name)) return false;
  ScopedRegistryKey key;
  if (::RegOpenKeyExA(root_, sub_key_.c_str(), 0, KEY_QUERY_VALUE,
                      key.receive()) != ERROR_SUCCESS) {
    return false;
  }
  DWORD type = REG_NONE;
  DWORD data = 0;
  DWORD size = sizeof data;
  if (::RegQueryValueExA(key.get(), name.c_str(), nullptr, &type,
                         reinterpret_cast<BYTE*>(&data),
                         &size) != ERROR_SUCCESS ||
      type != REG_DWORD || size != sizeof data) {
    return false;
  }
  *value = data;
  return true;
}

bool RegistrySelectionStore::Write(const std::vector<RememberedValue>& values) {
  if (values.empty()) return true;
  ScopedRegistryKey key;
  if (::RegCreateKeyExA(root_, sub_key_.c_str(), 0, nullptr,
                        REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, nullptr,
                        key.receive(), nullptr) != ERROR_SUCCESS) {
    return false;
  }
  bool all_stored = true;
  for (const RememberedValue& v : values) {
    const DWORD data = v.value;
    const bool stored =
        IsStorableName(v.name) &&
        ::RegSetValueExA(key.get(), v.name.c_str(), 0, REG_DWORD,
                         reinterpret_cast<const BYTE*>(&data),
                         sizeof data) == ERROR_SUCCESS;
    all_stored = all_stored && stored;
  }
  return all_stored;
}

}  // namespace qm
