#include "registry_selection_store.h"

#include "win32_handles.h"

namespace qm {
namespace {

bool IsStorableName(const std::string& name) {
  return name.find_first_of(std::string_view("\r\n\0", 3)) == std::string::npos;
}

// Whether `key` holds `name` as Read would find it: a four-byte REG_DWORD.
bool HoldsValue(HKEY key, const std::string& name, DWORD* data) {
  DWORD type = REG_NONE;
  DWORD size = sizeof *data;
  return ::RegQueryValueExA(key, name.c_str(), nullptr, &type,
                            reinterpret_cast<BYTE*>(data),
                            &size) == ERROR_SUCCESS &&
         type == REG_DWORD && size == sizeof *data;
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
  DWORD data = 0;
  if (!HoldsValue(key.get(), name, &data)) return false;
  *value = data;
  return true;
}

bool RegistrySelectionStore::Write(const std::vector<RememberedValue>& values) {
  if (values.empty()) return true;
  ScopedRegistryKey key;
  if (::RegCreateKeyExA(root_, sub_key_.c_str(), 0, nullptr,
                        REG_OPTION_NON_VOLATILE, KEY_SET_VALUE | KEY_QUERY_VALUE,
                        nullptr, key.receive(), nullptr) != ERROR_SUCCESS) {
    return false;
  }
  bool all_stored = true;
  for (const RememberedValue& v : values) {
    // Each value is written on its own, the last write winning, as any
    // other writer of the key does; "only if absent" is as good as that.
    DWORD existing = 0;
    if (v.only_if_absent && IsStorableName(v.name) &&
        HoldsValue(key.get(), v.name, &existing)) {
      continue;
    }
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
