// Registry writes shared by the component's and the menus' registration.
#pragma once

#include <windows.h>

#include <string>

namespace qm {

// Sets string value `name` (the key's default value when null) with its
// terminating zero counted in the length, as readers of these keys expect.
LONG SetStringValue(HKEY key, const wchar_t* name, const std::wstring& text);

// Deletes `subkey` of `parent` with everything below it; a key that is not
// there counts as deleted.
LONG DeleteKeyTree(HKEY parent, const std::wstring& subkey);

// The registry's braced text of a GUID.
std::wstring GuidText(REFGUID guid);

}  // namespace qm
