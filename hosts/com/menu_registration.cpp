#include "menu_registration.h"

#include <string>

#include "actions/file_url.h"
#include "flows/command_dispatch.h"
#include "registry_values.h"
#include "resource_ids.h"
#include "strings/string_table.h"
#include "win32_handles.h"

namespace qm {
namespace {

// The GUID that names each command's Tools-menu key. They stay with their
// commands: a removal finds what an earlier registration wrote by them. They
// differ only in their last two digits.
struct ToolsMenuKey {
  std::u16string_view word;
  const wchar_t* guid;
};

constexpr ToolsMenuKey kToolsMenuKeys[] = {
    {u"CONFIG", L"{16963F3A-3419-49EC-B1E5-A697BFBF3301}"},
    {u"BOOK", L"{16963F3A-3419-49EC-B1E5-A697BFBF3302}"},
    {u"CONVERT", L"{16963F3A-3419-49EC-B1E5-A697BFBF3303}"},
    {u"CURRENCY", L"{16963F3A-3419-49EC-B1E5-A697BFBF3304}"},
    {u"EMAIL", L"{16963F3A-3419-49EC-B1E5-A697BFBF3305}"},
    {u"ISBN", L"{16963F3A-3419-49EC-B1E5-A697BFBF3306}"},
    {u"MOVIE", L"{16963F3A-3419-49EC-B1E5-A697BFBF3307}"},
    {u"MUSIC", L"{16963F3A-3419-49EC-B1E5-A697BFBF3308}"},
    {u"OTHER", L"{16963F3A-3419-49EC-B1E5-A697BFBF3309}"},
    {u"SEARCH", L"{16963F3A-3419-49EC-B1E5-A697BFBF330A}"},
    {u"STOCK", L"{16963F3A-3419-49EC-B1E5-A697BFBF330B}"},
    {u"TRANSLATE", L"{16963F3A-3419-49EC-B1E5-A697BFBF330C}"},
    {u"UPC", L"{16963F3A-3419-49EC-B1E5-A697BFBF330D}"},
    {u"URL", L"{16963F3A-3419-49EC-B1E5-A697BFBF330E}"},
};

// One command's menu entries as registration writes them: the core's row
// and what this host adds to it.
struct MenuExtension {
  const CommandWord& command;
  const wchar_t* guid;     // names the command's Tools-menu key
  std::string word;        // the command word the page passes to Click
  std::wstring page_name;  // the script page, "isbn.htm"
};

MenuExtension ExtensionOf(const CommandWord& command) {
  const wchar_t* guid = nullptr;
  for (const ToolsMenuKey& key : kToolsMenuKeys) {
    if (key.word == command.word) guid = key.guid;
  }
  // Command words are capital ASCII letters; the page is named by the word
  // in small letters.
  std::string word;
  std::wstring page_name;
  for (const char16_t c : command.word) {
    word += static_cast<char>(c);
    page_name += static_cast<wchar_t>(c >= u'A' && c <= u'Z' ? c - u'A' + u'a' : c);
  }
  return MenuExtension{command, guid, word, page_name + L".htm"};
}

constexpr wchar_t kContextMenuKey[] =
    L"Software\\Microsoft\\Internet Explorer\\MenuExt";
constexpr wchar_t kToolsMenuKey[] =
    L"Software\\Microsoft\\Internet Explorer\\Extensions";
// Offered on the page itself, on a text selection and on a link; not on
// images, controls or tables.
constexpr DWORD kContexts = 0x01 | 0x10 | 0x20;
// The browser's own handler of Tools-menu entries that run a script.
constexpr wchar_t kScriptMenuHandler[] =
    L"{1FBA04EE-3024-11d2-8F1F-0000F87ABD16}";

static_assert(sizeof(wchar_t) == sizeof(char16_t));

std::wstring Text(int id) {
  const std::u16string_view text = LoadText(id);
  return std::wstring(reinterpret_cast<const wchar_t*>(text.data()),
                      text.size());
}

std::wstring ScriptPagePath(const std::wstring& module_path,
                            const MenuExtension& menu) {
  const std::size_t slash = module_path.rfind(L'\\');
  const std::size_t folder_end = slash == std::wstring::npos ? 0 : slash + 1;
  return module_path.substr(0, folder_end) + menu.page_name;
}

void ReplaceAll(std::string& text, std::string_view marker,
                std::string_view replacement) {
  for (std::size_t at = text.find(marker); at != std::string::npos;
       at = text.find(marker, at + replacement.size())) {
    text.replace(at, marker.size(), replacement);
  }
}

// wchar_t and char16_t are both UTF-16 code units on Windows.
std::wstring FileUrl(const std::wstring& path) {
  const std::u16string url = FileUrlOfPath(
      std::u16string_view(reinterpret_cast<const char16_t*>(path.data()), path.size()));
  return std::wstring(url.begin(), url.end());
}

std::string ScriptPageText(std::string_view page_template,
                           const MenuExtension& menu) {
  std::string text(page_template);
  ReplaceAll(text, "!1", menu.word);
  ReplaceAll(text, "!2", "");
  ReplaceAll(text, "!3", "");
  return text;
}

// The page is left as it is when it cannot be created: a page of an earlier
// registration is read-only, and its text is the same.
void WriteScriptPage(const std::wstring& path, const std::string& text) {
  ScopedHandle file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr,
                                  CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                  nullptr));
  if (!file.valid()) return;
  DWORD written = 0;
  ::WriteFile(file.get(), text.data(), static_cast<DWORD>(text.size()),
              &written, nullptr);
  file = ScopedHandle();
  ::SetFileAttributesW(path.c_str(),
                       FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
}

void InstallMenu(HKEY user_root, const std::wstring& module_path,
                 std::string_view page_template, const MenuExtension& menu) {
  const std::wstring menu_text = Text(menu.command.menu_text);
  // An empty name would make the entry's values land on the parent key.
  if (menu_text.empty()) return;
  const std::wstring page_path = ScriptPagePath(module_path, menu);
  WriteScriptPage(page_path, ScriptPageText(page_template, menu));

  ScopedRegistryKey context_menu;
  if (::RegCreateKeyExW(user_root,
                        (std::wstring(kContextMenuKey) + L"\\" + menu_text)
                            .c_str(),
                        0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                        nullptr, context_menu.receive(),
                        nullptr) == ERROR_SUCCESS) {
    // The menu runs an address, and the folder may hold a space, "#" or "%".
    SetStringValue(context_menu.get(), nullptr, FileUrl(page_path));
    const DWORD contexts = kContexts;
    ::RegSetValueExW(context_menu.get(), L"Contexts", 0, REG_DWORD,
                     reinterpret_cast<const BYTE*>(&contexts),
                     sizeof contexts);
  }

  if (menu.guid == nullptr) return;
  ScopedRegistryKey tools_menu;
  if (::RegCreateKeyExW(user_root,
                        (std::wstring(kToolsMenuKey) + L"\\" + menu.guid)
                            .c_str(),
                        0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                        nullptr, tools_menu.receive(),
                        nullptr) == ERROR_SUCCESS) {
    SetStringValue(tools_menu.get(), L"MenuCustomize", L"Tools");
    SetStringValue(tools_menu.get(), L"CLSID", kScriptMenuHandler);
    SetStringValue(tools_menu.get(), L"MenuText", menu_text);
    SetStringValue(tools_menu.get(), L"MenuStatusBar",
                   Text(menu.command.status_text));
    SetStringValue(tools_menu.get(), L"Script", page_path);
  }
}

void DeleteSubkey(HKEY user_root, const wchar_t* parent,
                  const std::wstring& name) {
  // Deleting an empty name would delete the parent itself.
  if (name.empty()) return;
  ScopedRegistryKey key;
  if (::RegOpenKeyExW(user_root, parent, 0, KEY_ALL_ACCESS, key.receive()) ==
      ERROR_SUCCESS) {
    ::RegDeleteKeyW(key.get(), name.c_str());
  }
}

void RemoveMenu(HKEY user_root, const std::wstring& module_path,
                const MenuExtension& menu) {
  // A read-only file cannot be deleted.
  const std::wstring page_path = ScriptPagePath(module_path, menu);
  ::SetFileAttributesW(page_path.c_str(), FILE_ATTRIBUTE_NORMAL);
  ::DeleteFileW(page_path.c_str());
  DeleteSubkey(user_root, kContextMenuKey, Text(menu.command.menu_text));
  if (menu.guid != nullptr) DeleteSubkey(user_root, kToolsMenuKey, menu.guid);
}

}  // namespace

std::string LoadScriptPageTemplate(HMODULE module) {
  const HRSRC found =
      ::FindResourceW(module, MAKEINTRESOURCEW(IDR_SCRIPT_PAGE), L"SCRIPT");
  if (found == nullptr) return {};
  const HGLOBAL loaded = ::LoadResource(module, found);
  const void* data = loaded != nullptr ? ::LockResource(loaded) : nullptr;
  if (data == nullptr) return {};
  return std::string(static_cast<const char*>(data),
                     ::SizeofResource(module, found));
}

void RegisterMenuExtensions(bool install, HKEY user_root,
                            const std::wstring& module_path,
                            std::string_view page_template) {
  // In the order of the core's table.
  for (const CommandWord& command : CommandWordTable()) {
    const MenuExtension menu = ExtensionOf(command);
    if (install) {
      InstallMenu(user_root, module_path, page_template, menu);
    } else {
      RemoveMenu(user_root, module_path, menu);
    }
  }
}

}  // namespace qm
