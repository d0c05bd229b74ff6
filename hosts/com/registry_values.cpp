#include "registry_values.h"

#include <objbase.h>

namespace qm {

LONG SetStringValue(HKEY key, const wchar_t* name, const std::wstring& text) {
  const DWORD bytes = static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t));
  return ::RegSetValueExW(key, name, 0, REG_SZ,
                          reinterpret_cast<const BYTE*>(text.c_str()), bytes);
}

LONG DeleteKeyTree(HKEY parent, const std::wstring& subkey) {
  const LONG status = ::RegDeleteTreeW(parent, subkey.c_str());
  return status == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : status;
}

std::wstring GuidText(REFGUID guid) {
  wchar_t text[39] = {};
  ::StringFromGUID2(guid, text, 39);
  return text;
}

}  // namespace qm
