#include "menu_registry.h"

#include <windows.h>

#include <string>

namespace qm::standin {
namespace {

constexpr wchar_t kMenuKey[] = L"Software\\Microsoft\\Internet Explorer\\MenuExt";
constexpr DWORD kAllContexts = 0xFFFFFFFF;

std::wstring StringValue(HKEY key, const wchar_t* name) {
  DWORD type = 0;
  DWORD size = 0;
  if (::RegQueryValueExW(key, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
      (type != REG_SZ && type != REG_EXPAND_SZ)) {
    return {};
  }
  std::wstring text(size / sizeof(wchar_t) + 1, L'\0');
  size = static_cast<DWORD>(text.size() * sizeof(wchar_t));
  if (::RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(text.data()),
                         &size) != ERROR_SUCCESS) {
    return {};
  }
  text.resize(size / sizeof(wchar_t));
  while (!text.empty() && text.back() == L'\0') text.pop_back();
  return text;
}

}  // namespace

std::vector<MenuEntry> ReadMenuEntries() {
  std::vector<MenuEntry> entries;
  HKEY menus = nullptr;
  if (::RegOpenKeyExW(HKEY_CURRENT_USER, kMenuKey, 0, KEY_READ, &menus) != ERROR_SUCCESS) {
    return entries;
  }
  for (DWORD index = 0;; ++index) {
    wchar_t name[256];
    DWORD length = 256;
    const LONG status =
        ::RegEnumKeyExW(menus, index, name, &length, nullptr, nullptr, nullptr, nullptr);
    if (status == ERROR_NO_MORE_ITEMS) break;
    if (status != ERROR_SUCCESS) continue;
    HKEY entry_key = nullptr;
    if (::RegOpenKeyExW(menus, name, 0, KEY_READ, &entry_key) != ERROR_SUCCESS) continue;
    MenuEntry entry;
    entry.text.assign(name, length);
    entry.address = StringValue(entry_key, nullptr);
    DWORD contexts = 0;
    DWORD size = sizeof contexts;
    DWORD type = 0;
    entry.contexts =
        ::RegQueryValueExW(entry_key, L"Contexts", nullptr, &type,
                           reinterpret_cast<BYTE*>(&contexts), &size) == ERROR_SUCCESS &&
                type == REG_DWORD
            ? contexts
            : kAllContexts;
    ::RegCloseKey(entry_key);
    entries.push_back(std::move(entry));
  }
  ::RegCloseKey(menus);
  return entries;
}

}  // namespace qm::standin
