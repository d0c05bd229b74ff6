#include "com_test_support.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstring>

namespace qm::test {
namespace {

std::atomic<int> g_counter{0};

std::wstring UniqueName(const wchar_t* prefix) {
  return prefix + std::to_wstring(::GetCurrentProcessId()) + L"-" +
         std::to_wstring(g_counter++);
}

// The build names the module by its path on the build machine; under Wine a
// POSIX path is reached through drive Z:.
std::wstring BuiltModulePath() {
  std::wstring path;
  for (const char* c = QM_COM_DLL; *c != '\0'; ++c) {
    path += *c == '/' ? L'\\' : static_cast<wchar_t>(*c);
  }
  if (!path.empty() && path[0] == L'\\') path = L"Z:" + path;
  return path;
}

template <class Function>
void FindEntryPoint(HMODULE module, const char* name, Function* function) {
  *function = reinterpret_cast<Function>(
      reinterpret_cast<void*>(::GetProcAddress(module, name)));
}

void DumpKey(HKEY key, const std::wstring& path,
             const std::vector<std::wstring>& skip,
             std::vector<std::wstring>* lines) {
  // Key names compare without regard to case, as the registry does.
  for (const std::wstring& skipped : skip) {
    if (::CompareStringOrdinal(path.c_str(), -1, skipped.c_str(), -1, TRUE) ==
        CSTR_EQUAL) {
      return;
    }
  }
  if (!path.empty()) lines->push_back(path);
  const std::wstring prefix = path.empty() ? path : path + L"\\";
  for (DWORD i = 0;; ++i) {
    wchar_t name[16384];
    DWORD name_size = 16384;
    BYTE data[4096];
    DWORD data_size = sizeof data;
    DWORD type = 0;
    if (::RegEnumValueW(key, i, name, &name_size, nullptr, &type, data,
                        &data_size) != ERROR_SUCCESS) {
      break;
    }
    std::wstring line = (path.empty() ? L"." : path) + L"|" +
                        (name_size == 0 ? L"@" : std::wstring(name)) + L"=";
    if (type == REG_SZ) {
      const auto* text = reinterpret_cast<const wchar_t*>(data);
      std::size_t chars = data_size / sizeof(wchar_t);
      if (chars > 0 && text[chars - 1] == L'\0') --chars;
      line += L"REG_SZ:" + std::wstring(text, chars);
    } else if (type == REG_DWORD && data_size == sizeof(DWORD)) {
      DWORD number = 0;
      std::memcpy(&number, data, sizeof number);
      wchar_t hex[16];
      std::swprintf(hex, 16, L"0x%lx", static_cast<unsigned long>(number));
      line += L"REG_DWORD:" + std::wstring(hex);
    } else {
      line += L"type " + std::to_wstring(type) + L", " +
              std::to_wstring(data_size) + L" bytes";
    }
    lines->push_back(line);
  }
  for (DWORD i = 0;; ++i) {
    wchar_t name[256];
    DWORD name_size = 256;
    if (::RegEnumKeyExW(key, i, name, &name_size, nullptr, nullptr, nullptr,
                        nullptr) != ERROR_SUCCESS) {
      break;
    }
    HKEY child = nullptr;
    if (::RegOpenKeyExW(key, name, 0, KEY_READ, &child) == ERROR_SUCCESS) {
      DumpKey(child, prefix + name, skip, lines);
      ::RegCloseKey(child);
    }
  }
}

}  // namespace

ScratchFolder::ScratchFolder(const std::wstring& name_end) {
  wchar_t temp[MAX_PATH + 1] = {};
  const DWORD n = ::GetTempPathW(MAX_PATH + 1, temp);
  path_ = std::wstring(temp, n) + UniqueName(L"qm_com_tests-") + name_end;
  ::CreateDirectoryW(path_.c_str(), nullptr);
}

ScratchFolder::~ScratchFolder() {
  for (const std::wstring& name : FileNames()) {
    const std::wstring file = File(name);
    ::SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);
    ::DeleteFileW(file.c_str());
  }
  ::RemoveDirectoryW(path_.c_str());
}

std::vector<std::wstring> ScratchFolder::FileNames() const {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW found{};
  const HANDLE search = ::FindFirstFileW((path_ + L"\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
      names.push_back(found.cFileName);
    }
  } while (::FindNextFileW(search, &found));
  ::FindClose(search);
  std::sort(names.begin(), names.end());
  return names;
}

LoadedModule::LoadedModule(const std::wstring& folder_name_end)
    : folder_(folder_name_end), path_(folder_.File(L"qmkit.dll")) {
  if (::CopyFileW(BuiltModulePath().c_str(), path_.c_str(), TRUE)) {
    handle_ = ::LoadLibraryW(path_.c_str());
  }
  if (handle_ == nullptr) return;
  // The module's own view of its path, which it registers.
  wchar_t loaded[MAX_PATH] = {};
  if (::GetModuleFileNameW(handle_, loaded, MAX_PATH) > 0) path_ = loaded;
  FindEntryPoint(handle_, "DllGetClassObject", &GetClassObject);
  FindEntryPoint(handle_, "DllCanUnloadNow", &CanUnloadNow);
  FindEntryPoint(handle_, "DllRegisterServer", &RegisterServer);
  FindEntryPoint(handle_, "DllUnregisterServer", &UnregisterServer);
}

LoadedModule::~LoadedModule() {
  if (handle_ != nullptr) ::FreeLibrary(handle_);
}

ScratchKey::ScratchKey()
    : name_(L"Software\\qm_com_tests\\" + UniqueName(L"")) {
  ::RegCreateKeyExW(HKEY_CURRENT_USER, name_.c_str(), 0, nullptr,
                    REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &key_,
                    nullptr);
}

ScratchKey::~ScratchKey() {
  if (key_ != nullptr) ::RegCloseKey(key_);
  ::RegDeleteTreeW(HKEY_CURRENT_USER, name_.c_str());
  ::RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\qm_com_tests");
}

HKEY ScratchKey::CreateVolatileChild(const wchar_t* name) const {
  HKEY key = nullptr;
  ::RegCreateKeyExW(key_, name, 0, nullptr, REG_OPTION_VOLATILE,
                    KEY_ALL_ACCESS, nullptr, &key, nullptr);
  return key;
}

RootOverride::RootOverride(HKEY root, HKEY key)
    : root_(root),
      active_(key != nullptr &&
              ::RegOverridePredefKey(root, key) == ERROR_SUCCESS) {}

RootOverride::~RootOverride() {
  if (active_) ::RegOverridePredefKey(root_, nullptr);
}

std::vector<std::wstring> DumpTree(HKEY root,
                                   const std::vector<std::wstring>& skip) {
  std::vector<std::wstring> lines;
  DumpKey(root, L"", skip, &lines);
  std::sort(lines.begin(), lines.end());
  return lines;
}

bool KeyExists(HKEY root, const std::wstring& path) {
  HKEY key = nullptr;
  if (::RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &key) !=
      ERROR_SUCCESS) {
    return false;
  }
  ::RegCloseKey(key);
  return true;
}

std::string ReadFileBytes(const std::wstring& path) {
  const HANDLE file =
      ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return {};
  std::string bytes;
  char buffer[4096];
  DWORD got = 0;
  while (::ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) {
    bytes.append(buffer, got);
  }
  ::CloseHandle(file);
  return bytes;
}

}  // namespace qm::test
